#include "ui/app/weaversguide.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

// The guide's resource lives in a static library: nothing would pull it into
// the program unless it is registered by name.
static void registerGuide()
{
    Q_INIT_RESOURCE(guide);
}

namespace qb {

QString WeaversGuideText()
{
    static const bool registered = (registerGuide(), true);
    (void)registered;
    QFile f(QStringLiteral(":/help/guide.md"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QDialog* ShowWeaversGuide(QWidget* parent)
{
    static QPointer<QDialog> shown;
    if (!shown) {
        auto* dialog = new QDialog(parent);
        dialog->setObjectName(QStringLiteral("weaversGuide"));
        dialog->setWindowTitle(QStringLiteral("Weaver's Guide"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        auto* text = new QTextBrowser(dialog);
        text->setOpenExternalLinks(true);
        text->setMarkdown(WeaversGuideText());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
        auto* layout = new QVBoxLayout(dialog);
        layout->addWidget(text);
        layout->addWidget(buttons);
        // Wide enough for the README's lines, in the font's own measure.
        const int em = dialog->fontMetrics().horizontalAdvance(QLatin1Char('M'));
        dialog->resize(60 * em, 40 * dialog->fontMetrics().lineSpacing());
        shown = dialog;
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

} // namespace qb
