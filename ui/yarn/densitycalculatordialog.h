#pragma once

#include "core/yarn/densitycalc.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace qb {

// "Density Calculator": a measured length of yarn and its weight give the
// grist, recomputed after every change. Callers take the value of the
// current measurement system.
class CDensityCalculatorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDensityCalculatorDialog(MeasureSystem system, QWidget* parent = nullptr);

    DensityResult result() const { return m_result; }
    std::uint32_t densityForSystem() const { return m_result.forSystem(m_system); }
    // What "Density:" shows.
    QString shownDensity() const;

private:
    DensityInput input() const;
    void recompute();
    // The quantity and weight as they were used, written back into the
    // fields when the weaver leaves them.
    void writeBack();

    MeasureSystem m_system;
    DensityResult m_result;
    QLineEdit* m_quantity = nullptr;
    QComboBox* m_quantityUnit = nullptr;
    QLineEdit* m_weight = nullptr;
    QComboBox* m_weightUnit = nullptr;
    QLineEdit* m_density = nullptr;
    QComboBox* m_densityUnit = nullptr;
};

// Numbers typed into the planner's and calculator's fields: the C locale's
// decimal point, a comma taken as one too; unreadable text is 0.
double ReadNumber(const QString& text, bool* ok = nullptr);
QString OneDecimal(double v);

} // namespace qb
