#include "ui/loom/dobbydialogs.h"

#include "core/draft/quillabydoc.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

CSetDobbyPickDialog::CSetDobbyPickDialog(CQuillabyDoc& doc, int currentPick, bool topDown,
                                         std::function<int(int)> nextMarker, QWidget* parent)
    : CSetDobbyPickDialog(doc, currentPick, topDown, std::move(nextMarker), QStringLiteral("Set Dobby Pick"),
                          QStringLiteral("Current pick:"), parent)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* next = buttons->addButton(QStringLiteral("Next Marker"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("nextMarker"));
    connect(next, &QPushButton::clicked, this, &CSetDobbyPickDialog::nextMarker);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
    addHints();
}

CSetDobbyPickDialog::CSetDobbyPickDialog(CQuillabyDoc& doc, int currentPick, bool topDown,
                                         std::function<int(int)> nextMarker, const QString& caption,
                                         const QString& label, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_nextMarker(std::move(nextMarker))
{
    setWindowTitle(caption);
    const int n = std::max(doc.numPicks(), 1);
    m_field = new CPickSpinBox(this);
    m_field->setObjectName(QStringLiteral("pick"));
    // The field keeps itself within 1..n, whatever is typed.
    m_field->setRange(1, n);
    m_field->setInverted(topDown);
    m_field->setValue(std::clamp(currentPick + 1, 1, n));
    m_previewed = m_field->value();
    m_markedBefore = doc.markedPick();
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(label, m_field);
    top->addLayout(form);
    connect(m_field, &QSpinBox::valueChanged, this, &CSetDobbyPickDialog::preview);
}

CSetDobbyPickDialog::~CSetDobbyPickDialog()
{
    // The panes mark again what they marked before (the loom's pick, or none).
    m_doc.MarkPick(m_markedBefore < m_doc.numPicks() ? m_markedBefore : -1);
}

void CSetDobbyPickDialog::addHints()
{
    layout()->addWidget(new QLabel(QStringLiteral("Use mouse wheel or Up/Down arrow keys"), this));
    layout()->addWidget(new QLabel(QStringLiteral("to scroll, or type in a pick number"), this));
}

void CSetDobbyPickDialog::preview(int shown)
{
    if (shown == m_previewed) return;
    m_previewed = shown;
    m_doc.MarkPick(shown >= 1 && shown <= m_doc.numPicks() ? shown - 1 : -1);
}

void CSetDobbyPickDialog::nextMarker()
{
    if (m_nextMarker) m_field->setValue(m_nextMarker(m_field->value() - 1) + 1);
    m_field->setFocus();
}

CSetDobbyMarker::CSetDobbyMarker(CQuillabyDoc& doc, int currentPick, bool topDown, std::function<int(int)> nextMarker,
                                 QWidget* parent)
    : CSetDobbyPickDialog(doc, currentPick, topDown, std::move(nextMarker), QStringLiteral("Set Dobby Markers"),
                          QStringLiteral("Marker position:"), parent)
{
    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& text, const char* name, Action a) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, [this, a] { choose(a); });
    };
    add(QStringLiteral("Add"), "add", Add);
    add(QStringLiteral("Remove"), "remove", Remove);
    add(QStringLiteral("Remove All"), "removeAll", RemoveAll);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
    addHints();
}

void CSetDobbyMarker::choose(Action a)
{
    m_action = a;
    accept();
}

CRepeatCounterDialog::CRepeatCounterDialog(int count, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Repeat Counter"));
    m_field = new QSpinBox(this);
    m_field->setObjectName(QStringLiteral("repeatCount"));
    m_field->setRange(0, kMax);
    m_field->setValue(std::clamp(count, 0, kMax));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Repeat count:"), m_field);
    top->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear = buttons->addButton(QStringLiteral("Clear"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("clear"));
    connect(clear, &QPushButton::clicked, this, [this] { m_field->setValue(0); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);
}

} // namespace qb
