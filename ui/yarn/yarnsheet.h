#pragma once

#include "core/yarn/measure.h"
#include "core/yarn/yarn.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace qb {

// The "Yarn" sheet: "Characteristics" (size, fiber, density, shrinkage,
// sett) and "Notes". Filled from a yarn; the caller stores the edited
// values back after OK.
class CYarnSheet : public QDialog {
    Q_OBJECT
public:
    // `sizes` and `fibers` are what the drop-down lists offer.
    CYarnSheet(const CYarn& yarn, const std::vector<std::string>& sizes, const std::vector<std::string>& fibers,
               MeasureSystem system, QWidget* parent = nullptr);

    // The yarn as the fields show it now.
    CYarn yarn() const;
    // Copies the fields into `y`; true when anything differs.
    bool store(CYarn& y) const;
    QTabWidget* tabs() const { return m_tabs; }

private:
    QWidget* makeCharacteristics(const CYarn& y, const std::vector<std::string>& sizes,
                                 const std::vector<std::string>& fibers);
    QWidget* makeNotes(const CYarn& y);
    void runDensityCalculator();
    void limitNotes();

    MeasureSystem m_system;
    QTabWidget* m_tabs = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_fiber = nullptr;
    QLineEdit* m_density = nullptr;
    QSpinBox* m_shrinkage = nullptr;
    QSpinBox* m_sett = nullptr;
    QPushButton* m_calculator = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};

} // namespace qb
