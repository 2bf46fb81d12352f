#pragma once

#include "core/transform/networksettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qb {

// "Pattern Line": the size of the initial, the size of the network and the
// scaling method of "Scale Pattern &Line...". Finishing is refused, with the
// reason, while the settings leave no shafts to draw on.
class CPatternLineSheet : public QDialog {
    Q_OBJECT
public:
    // `fromStructure` fills in the initial from a weave structure the weaver
    // chooses; false (nothing changed) when none was taken.
    CPatternLineSheet(const NetworkSettings& initial, std::function<bool(NetworkSettings&)> fromStructure,
                      std::function<void(const QString&)> tell, QWidget* parent = nullptr);
    NetworkSettings settings() const;
    QTabWidget* tabs() const { return m_tabs; }
    void accept() override;

private:
    void display(const NetworkSettings& s);

    NetworkSettings m_initial;
    std::function<bool(NetworkSettings&)> m_fromStructure;
    std::function<void(const QString&)> m_tell;
    QTabWidget* m_tabs = nullptr;
    QSpinBox* m_height = nullptr;
    QSpinBox* m_base = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_networkHeight = nullptr;
    QSpinBox* m_length = nullptr;
    QRadioButton* m_digitize = nullptr;
    QRadioButton* m_telescope = nullptr;
    QCheckBox* m_shaftRule = nullptr;
};

// "Plot onto Network": the weave structure (its file title, "Browse"), the
// network height, the ribbon width, "Use ribbon template" and what to fill.
class CPlotNetworkDialog : public QDialog {
    Q_OBJECT
public:
    // `browse` chooses a structure file (empty when cancelled).
    CPlotNetworkDialog(const NetworkSettings& initial, std::function<QString()> browse, QWidget* parent = nullptr);
    NetworkSettings settings() const;
    QString structurePath() const { return m_path; }
    void setStructurePath(const QString& path);

private:
    NetworkSettings m_initial;
    QString m_path;
    std::function<QString()> m_browse;
    QLabel* m_file = nullptr;
    QSpinBox* m_height = nullptr;
    QSpinBox* m_ribbon = nullptr;
    QCheckBox* m_template = nullptr;
    QCheckBox* m_fillRibbon = nullptr;
    QCheckBox* m_fillBackground = nullptr;
};

// "Ribbon Width": the width of "Ri&bbon Template...".
class CRibbonWidthDialog : public QDialog {
    Q_OBJECT
public:
    CRibbonWidthDialog(int initial, QWidget* parent = nullptr);
    int width() const;

private:
    QSpinBox* m_width = nullptr;
};

} // namespace qb
