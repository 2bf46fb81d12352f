#pragma once

#include "ui/yarn/plannerwizard.h"

#include <QComboBox>

class QPushButton;

namespace qb {

class CYarnDoc;

// An editable yarn list that is refilled each time it drops down.
class CYarnComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        emit aboutToShowPopup();
        QComboBox::showPopup();
    }
signals:
    void aboutToShowPopup();
};

// The "Warp" and "Weft" pages: the yarn, its sett (beat) and density, and
// the number of ends (picks), quantity and weight they give.
class CMaterialQuantity : public CPlannerPage {
    Q_OBJECT
public:
    enum class Side { Warp, Weft };
    CMaterialQuantity(PlannerSession& session, MeasureSystem system, CYarnCommands* yarns, Side side,
                      QWidget* parent = nullptr);

    void initializePage() override;
    void load() override;
    void showResults() override;

    // The buttons' work.
    void openYarnDatabase();
    void runDensityCalculator();
    // Choosing the yarn at `index` of the list.
    void chooseYarn(int index);
    // Refills the list from the application's database.
    void refillYarns();

private:
    bool warp() const { return m_side == Side::Warp; }
    CYarnDoc* database() const;

    Side m_side;
    CYarnCommands* m_yarns;
    CYarnComboBox* m_yarn;
    QLineEdit* m_sett;
    QLineEdit* m_density;
    QLineEdit* m_count;
    QLineEdit* m_quantity;
    QComboBox* m_quantityUnit;
    QLineEdit* m_weight;
    QComboBox* m_weightUnit;
    QPushButton* m_openDatabase;
    QPushButton* m_calculator;
    bool m_typingEnds = false;
};

} // namespace qb
