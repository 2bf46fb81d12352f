#pragma once

#include "core/transform/draftproperties.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qb {

// The draft's texts on the sheet's second page (lines separated by "\n").
struct DraftTexts {
    QString title;
    QString author;
    QString notes;
    bool operator==(const DraftTexts&) const = default;
};

// The "Properties" sheet of a draft: the "Settings" page and the page of
// the draft's title, author and notes. Filled from values; the caller reads
// the edited ones after OK.
class CPropertiesSheet : public QDialog {
    Q_OBJECT
public:
    enum Page { SettingsPage = 0, NotesPage = 1 };

    CPropertiesSheet(const DraftProperties& values, const DraftTexts& texts, Page start = SettingsPage,
                     QWidget* parent = nullptr);

    // The values as the controls show them now.
    DraftProperties values() const;
    DraftTexts texts() const;
    QTabWidget* tabs() const { return m_tabs; }

private:
    QWidget* makeSettingsPage();
    QWidget* makeNotesPage();
    void followLiftplan();
    void followSide();

    DraftProperties m_initial;
    DraftTexts m_initialTexts;
    QTabWidget* m_tabs = nullptr;
    QSpinBox* m_shafts = nullptr;
    QSpinBox* m_treadles = nullptr;
    QRadioButton* m_rising = nullptr;
    QRadioButton* m_sinking = nullptr;
    QCheckBox* m_liftplan = nullptr;
    QRadioButton* m_side[3] = {};
    QSpinBox* m_warps = nullptr;
    QSpinBox* m_wefts = nullptr;
    QCheckBox* m_correlation = nullptr;
    QRadioButton* m_english = nullptr;
    QRadioButton* m_metric = nullptr;
    QDoubleSpinBox* m_sett = nullptr;
    QDoubleSpinBox* m_beat = nullptr;
    QSpinBox* m_warpRatio = nullptr;
    QSpinBox* m_weftRatio = nullptr;
    QPlainTextEdit* m_title = nullptr;
    QPlainTextEdit* m_author = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};

} // namespace qb
