#include "ui/combine/combinedialogs.h"

#include "core/transform/expand.h"
#include "ui/base/dialogparts.h"

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace qb {

namespace {

QStringList localFiles(const QMimeData* data)
{
    QStringList out;
    if (!data || !data->hasUrls()) return out;
    for (const QUrl& u : data->urls())
        if (u.isLocalFile() && QFileInfo(u.toLocalFile()).isFile()) out << u.toLocalFile();
    return out;
}

} // namespace

CEchoDialog::CEchoDialog(const EchoSettings& initial, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Echo"));
    const EchoSettings s = initial.clamped();
    m_echos = CountSpinBox(this, "numEchos", EchoSettings::kMinEchos, EchoSettings::kMaxEchos, s.numEchos);
    m_offset = CountSpinBox(this, "echoOffset", EchoSettings::kMinOffset, EchoSettings::kMaxOffset, s.offset);
    auto* form = new QFormLayout;
    auto* echos = new QHBoxLayout;
    echos->addWidget(m_echos);
    echos->addStretch();
    form->addRow(QStringLiteral("Number of echos:"), echos);
    auto* offset = new QHBoxLayout;
    offset->addWidget(m_offset);
    offset->addWidget(new QLabel(QStringLiteral("shafts"), this));
    offset->addStretch();
    form->addRow(QStringLiteral("Offset:"), offset);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
}

EchoSettings CEchoDialog::settings() const
{
    return EchoSettings{m_echos->value(), m_offset->value()}.clamped();
}

CExpandDialog::CExpandDialog(int initial, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Expand"));
    m_factor = CountSpinBox(this, "factor", kMinExpandFactor, kMaxExpandFactor, initial);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scale factor:"), m_factor);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
}

int CExpandDialog::factor() const
{
    return m_factor->value();
}

CMergeDialog::CMergeDialog(const QString& title, const QString& text, std::function<QString()> browse, QWidget* parent)
    : QDialog(parent)
    , m_browse(std::move(browse))
{
    setWindowTitle(title);
    setAcceptDrops(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(text, this));
    auto* grid = new QGridLayout;
    for (int i = 0; i < kFiles; ++i) {
        m_fields[i] = new QLineEdit(this);
        m_fields[i]->setObjectName(QStringLiteral("file%1").arg(i + 1));
        m_fields[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
        // The fields take drops themselves as text: let the dialog have them.
        m_fields[i]->setAcceptDrops(false);
        auto* button = new QPushButton(QStringLiteral("Browse"), this);
        button->setObjectName(QStringLiteral("browse%1").arg(i + 1));
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (!m_browse) return;
            const QString f = m_browse();
            if (!f.isEmpty()) m_fields[i]->setText(f);
        });
        grid->addWidget(m_fields[i], i, 0);
        grid->addWidget(button, i, 1);
    }
    v->addLayout(grid);
    auto* hint = new QLabel(
        QStringLiteral("Use the Browse buttons to select files,\nor drag and drop them onto this window"), this);
    hint->setAlignment(Qt::AlignCenter);
    v->addWidget(hint);
    v->addWidget(OkCancelButtons(this));
}

QStringList CMergeDialog::files() const
{
    QStringList out;
    for (QLineEdit* f : m_fields)
        if (!f->text().trimmed().isEmpty()) out << f->text().trimmed();
    return out;
}

int CMergeDialog::takeFiles(const QStringList& paths)
{
    int taken = 0;
    auto place = [&](bool emptyOnly) {
        for (QLineEdit* f : m_fields) {
            if (taken == paths.size()) return;
            if (emptyOnly && !f->text().trimmed().isEmpty()) continue;
            f->setText(paths[taken++]);
        }
    };
    const bool anyEmpty = files().size() < kFiles;
    place(anyEmpty);
    return taken;
}

void CMergeDialog::dragEnterEvent(QDragEnterEvent* e)
{
    if (!localFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void CMergeDialog::dropEvent(QDropEvent* e)
{
    if (takeFiles(localFiles(e->mimeData())) > 0) e->acceptProposedAction();
}

} // namespace qb
