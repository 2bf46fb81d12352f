#include "app/draftfileio.h"

#include "app/mainframe.h"
#include "wif/filemessages.h"
#include "wif/wifreader.h"
#include "wif/wifwriter.h"

#include <QMessageBox>

namespace qb {

namespace {

class MessageBoxes final : public IFileMessages {
public:
    void tell(const std::string& text) override
    {
        QMessageBox::information(CMainFrame::instance(), QStringLiteral("Quillaby"), QString::fromStdString(text));
    }
    bool ask(const std::string& question) override
    {
        return QMessageBox::question(CMainFrame::instance(), QStringLiteral("Quillaby"),
                                     QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
            == QMessageBox::Yes;
    }
};

} // namespace

void InstallDraftFileIO()
{
    CMainFrame::setDocumentLoader(
        [](const QString& path, const NewDraftDefaults& defaults, CQuillabyDoc& doc, QString& error) {
            MessageBoxes messages;
            WifReadOptions options;
            options.defaults = defaults;
            std::string why;
            const bool ok = ReadWifFile(path.toStdString(), doc, messages, options, &why);
            if (!ok)
                error = QStringLiteral("Unable to open %1.\n%2").arg(path, QString::fromStdString(why));
            return ok;
        });
    CMainFrame::setDocumentSaver([](const QString& path, const CQuillabyDoc& doc, QString& error) {
        std::string why;
        const bool ok = WriteFileAtomically(path.toStdString(), WifText(doc, WifToday()), &why);
        if (!ok)
            error = QStringLiteral("Unable to save %1.\n%2").arg(path, QString::fromStdString(why));
        return ok;
    });
}

} // namespace qb
