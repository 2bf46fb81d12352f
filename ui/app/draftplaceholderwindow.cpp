#include "app/draftplaceholderwindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qb {

CDraftPlaceholderWindow::CDraftPlaceholderWindow(std::unique_ptr<CQuillabyDoc> doc,
                                                 const QString& path, const QString& title,
                                                 QWidget* parent)
    : QWidget(parent), m_doc(std::move(doc)), m_path(path), m_title(title)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    setWindowTitle(m_title);
    m_doc->subscribe(this);
    refresh();
}

CDraftPlaceholderWindow::~CDraftPlaceholderWindow()
{
    m_doc->unsubscribe(this);
}

void CDraftPlaceholderWindow::setPath(const QString& path, const QString& title)
{
    m_path = path;
    m_title = title;
    setWindowTitle(title);
}

QString CDraftPlaceholderWindow::summary() const
{
    const CQuillabyDoc& d = *m_doc;
    QStringList lines;
    lines << QStringLiteral("Shafts: %1").arg(d.numShafts())
          << QStringLiteral("Treadles: %1").arg(d.numTreadles())
          << QStringLiteral("Form: %1").arg(d.isLiftplan() ? QStringLiteral("liftplan")
                                                          : QStringLiteral("tieup and treadling"))
          << QStringLiteral("Shed: %1").arg(d.isRisingShed() ? QStringLiteral("rising")
                                                            : QStringLiteral("sinking"))
          << QStringLiteral("Ends: %1").arg(d.numEnds())
          << QStringLiteral("Picks: %1").arg(d.numPicks())
          << QStringLiteral("Units: %1").arg(d.units() == 1 ? QStringLiteral("metric")
                                                            : QStringLiteral("English"));
    const ColorPalette& p = d.palette();
    lines << QStringLiteral("Colors: %1").arg(p.count());
    for (int i = 0; i < p.count(); ++i) {
        const COLORREF c = p.color(i);
        lines << QStringLiteral("  %1  #%2%3%4  %5")
                     .arg(i + 1, 2)
                     .arg(red(c), 2, 16, QLatin1Char('0'))
                     .arg(green(c), 2, 16, QLatin1Char('0'))
                     .arg(blue(c), 2, 16, QLatin1Char('0'))
                     .arg(QString::fromStdString(p.name(i)));
    }
    return lines.join(QLatin1Char('\n'));
}

void CDraftPlaceholderWindow::documentUpdated(const CQuillabyDoc&, const UpdateHint*)
{
    refresh();
}

void CDraftPlaceholderWindow::loomSizeChanged(const CQuillabyDoc&)
{
    refresh();
    emit loomSizeChangedSignal();
}

void CDraftPlaceholderWindow::refresh()
{
    m_text->setPlainText(summary());
}

} // namespace qb
