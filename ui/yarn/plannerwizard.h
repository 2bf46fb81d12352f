#pragma once

#include "core/yarn/projectplan.h"

#include <QWizard>
#include <QWizardPage>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qb {

class CPiecesPicture;
class CYarnCommands;

// A page of the "Yarn Calculator": it shows the session's values, writes
// what the weaver types back into them, and recomputes its results after
// every change and whenever it becomes active.
class CPlannerPage : public QWizardPage {
    Q_OBJECT
public:
    CPlannerPage(PlannerSession& session, MeasureSystem system, QWidget* parent = nullptr);
    // The session's values into the fields.
    virtual void load() = 0;
    // The computed figures into the read-only fields.
    virtual void showResults() = 0;

protected:
    PlanInputs& in() { return m_session.pages(); }
    // A "%.1f" number field bound to a length of the session.
    QLineEdit* lengthField(const char* name, double PlanInputs::*field);
    QLineEdit* resultField(const char* name);
    QLabel* unit(std::string_view word);

    PlannerSession& m_session;
    MeasureSystem m_system;
};

class CFinishedDimensions : public CPlannerPage {
    Q_OBJECT
public:
    CFinishedDimensions(PlannerSession& session, MeasureSystem system, QWidget* parent = nullptr);
    void load() override;
    void showResults() override;
    CPiecesPicture* picture() const { return m_picture; }

private:
    QLineEdit* m_width;
    QLineEdit* m_length;
    QSpinBox* m_onWeft;
    QSpinBox* m_onWarp;
    QLineEdit* m_betweenWeft;
    QLineEdit* m_betweenWarp;
    CPiecesPicture* m_picture;
};

class CWovenDimensions : public CPlannerPage {
    Q_OBJECT
public:
    CWovenDimensions(PlannerSession& session, MeasureSystem system, QWidget* parent = nullptr);
    void load() override;
    void showResults() override;

private:
    QLineEdit* m_width;
    QLineEdit* m_drawIn;
    QSpinBox* m_shrinkWidth;
    QLineEdit* m_widthInReed;
    QLineEdit* m_length;
    QSpinBox* m_takeUp;
    QSpinBox* m_shrinkLength;
    QSpinBox* m_loomWaste;
    QSpinBox* m_sample;
    QLineEdit* m_warpLength;
    QComboBox* m_lengthUnit;
};

// The "Yarn Calculator" wizard over a planner session. Finish leaves the
// edited values in the session; the caller stores them in the draft.
class CPlannerWizard : public QWizard {
    Q_OBJECT
public:
    CPlannerWizard(PlannerSession& session, MeasureSystem system, CYarnCommands* yarns, QWidget* parent = nullptr);
    PlannerSession& session() { return m_session; }
    CPlannerPage* plannerPage(int id) const;

private:
    PlannerSession& m_session;
};

} // namespace qb
