#include "ui/base/commandstep.h"

#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

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

CommandResult RunCommandStep(IMainWindow* main, CDraftWindow* w, const std::string& name,
                             const std::function<CommandResult(Edit)>& command)
{
    CQuillabyDoc& doc = w->document();
    CommandResult r;
    doc.Transaction(name, [&](Edit e) { r = command(e); });
    if (!r.done()) return r;
    CGridFrame* active = main->activeGridFrame();
    if (!active || active->document() != &doc) active = w->frame();
    if (r.layoutChanged || r.paletteChanged) {
        doc.NotifyLoomSize();
        w->frame()->relayoutPanes();
        if (active != w->frame()) active->relayoutPanes();
    }
    if (r.fitToWindow) active->fitInWindow();
    w->refreshTitle();
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
