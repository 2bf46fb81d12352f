#include "ui/loom/dobbytimedoutdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qb {

CDobbyTimedOutDialog::CDobbyTimedOutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dobbyTimedOut"));
    setWindowTitle(QStringLiteral("Dobby Head"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Dobby Timed Out"), this));
    m_continue = new QPushButton(QStringLiteral("Continue"), this);
    m_continue->setObjectName(QStringLiteral("continue"));
    m_continue->setDefault(true);
    layout->addWidget(m_continue);
    connect(m_continue, &QPushButton::clicked, this, &CDobbyTimedOutDialog::continuePressed);
}

} // namespace qb
