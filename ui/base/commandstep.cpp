#include "ui/base/commandstep.h"

#include "core/draft/quillabydoc.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qb {

namespace {

DraftFileChooser& chooser()
{
    static DraftFileChooser c;
    return c;
}

} // namespace

CommandResult RunCommandStep(IMainWindow* main, CQuillabyDoc& doc, const std::string& name,
                             const std::function<CommandResult(Edit)>& command)
{
    CommandResult r;
    doc.Transaction(name, [&](Edit e) { r = command(e); });
    if (r.done()) main->afterCommand(doc, r);
    return r;
}

void SetDraftFileChooser(DraftFileChooser c)
{
    chooser() = std::move(c);
}

QString ChooseDraftFile(IMainWindow* main, const QString& title)
{
    const QString file = chooser()
        ? chooser()(title)
        : QFileDialog::getOpenFileName(main->window(), title, main->settings().mruOpenFileLocn,
                                       QStringLiteral("Weaving Files (*.qlb *.wif)"));
    if (!file.isEmpty())
        main->settingsMutable().mruOpenFileLocn = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    return file;
}

} // namespace qb
