#pragma once

#include "ui/base/storedsettings.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace qb {

// How the Grid/Notation page's check boxes map to stored notation values.
namespace NotationBoxes {
inline int threading(bool numeric, bool alpha)
{
    return alpha ? 3 : (numeric ? 1 : 0);
}
inline int treadling(bool numeric)
{
    return numeric ? 1 : 0;
}
inline int tieup(bool numeric, bool symbolic)
{
    return numeric ? 1 : (symbolic ? 2 : 0);
}
inline int drawdown(bool interlaced)
{
    return interlaced ? 4 : 0;
}
} // namespace NotationBoxes

// The "Options" property sheet. Filled from a copy of the settings; only OK
// (accept) copies the edited values into that copy, which the caller takes
// with values().
class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    enum Page { LoomPage, GridPage, GeneralPage, FilesPage, DobbyPage };

    explicit COptionsSheet(const CStoredSettings& values, Page start = LoomPage, QWidget* parent = nullptr);

    const CStoredSettings& values() const { return m_values; }
    QTabWidget* tabs() const { return m_tabs; }

    void accept() override;

private:
    QWidget* makeLoomPage();
    QWidget* makeGridPage();
    QWidget* makeGeneralPage();
    QWidget* makeFilesPage();
    QWidget* makeDobbyPage();
    void modifyLocation();
    void fillPorts();

    CStoredSettings m_values;
    QTabWidget* m_tabs = nullptr;
    // Loom
    QSpinBox* m_shafts = nullptr;
    QSpinBox* m_treadles = nullptr;
    QRadioButton* m_rising = nullptr;
    QRadioButton* m_sinking = nullptr;
    QCheckBox* m_liftplan = nullptr;
    QSpinBox* m_waste = nullptr;
    QSpinBox* m_barH = nullptr;
    QSpinBox* m_barV = nullptr;
    // Grid/Notation
    QCheckBox* m_thNumeric = nullptr;
    QCheckBox* m_thAlpha = nullptr;
    QCheckBox* m_trNumeric = nullptr;
    QCheckBox* m_tuNumeric = nullptr;
    QCheckBox* m_tuSymbolic = nullptr;
    QCheckBox* m_interlaced = nullptr;
    QCheckBox* m_showGrid = nullptr;
    QCheckBox* m_drawnUp = nullptr;
    // General
    QRadioButton* m_english = nullptr;
    QRadioButton* m_metric = nullptr;
    QCheckBox* m_flip = nullptr;
    QSpinBox* m_autosave = nullptr;
    int m_autosaveShown = 0;
    // Files
    QTreeWidget* m_locations = nullptr;
    QComboBox* m_saveFormat = nullptr;
    // Dobby
    QComboBox* m_head = nullptr;
    QComboBox* m_port = nullptr;
    QSpinBox* m_harnesses = nullptr;
};

} // namespace qb
