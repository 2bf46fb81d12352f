#include "ui/filecommands/draftfilecommands.h"

#include "ui/app/draftfiles.h"
#include "ui/app/mainframe.h"
#include "ui/base/uiprompter.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/gridview.h"
#include "ui/yarn/yarncommands.h"

#include "core/wif/draftimport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace qb {

namespace {

// Every frame on the draft fits the converted draft anew.
void fitFrames(CMainFrame* frame, CDraftWindow* w)
{
    const QList<QMdiSubWindow*> subs = frame->mdiArea()->subWindowList();
    for (QMdiSubWindow* sub : subs)
        if (CGridFrame* f = w->frameIn(sub)) f->fitInWindow();
}

QString toLf(const std::string& s)
{
    return QString::fromStdString(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string toCrLf(const QString& s)
{
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t.replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

QString chooseImportFile(CMainFrame* frame)
{
    const QString file =
        QFileDialog::getOpenFileName(frame, QStringLiteral("File to Import From"), frame->settings().mruOpenFileLocn,
                                     QStringLiteral("Weaving Files (*.qlb *.wif)"));
    if (!file.isEmpty())
        frame->settingsMutable().mruOpenFileLocn = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    return file;
}

} // namespace

CDraftWindow* CloneDraft(CMainFrame* frame, CDraftWindow* w)
{
    if (!w) return nullptr;
    auto copy = w->document().Clone();
    // Never saved: closing it asks first.
    copy->SetModified(true);
    return frame->addDocumentWindow(std::move(copy), QString());
}

bool ApplyPropertiesSheet(CMainFrame* frame, CDraftWindow* w, const DraftProperties& values, const DraftTexts& texts)
{
    CQuillabyDoc& doc = w->document();
    bool changed = false;
    PropertiesOutcome out;
    // Texts and settings are one step, as the sheet was one action.
    doc.Transaction("Properties", [&](Edit e) {
        const DraftTexts before{toLf(doc.title()), toLf(doc.author()), toLf(doc.notes())};
        if (!(texts == before))
            changed = doc.SetTexts(e, toCrLf(texts.title), toCrLf(texts.author), toCrLf(texts.notes));
        CUiPrompter prompter(frame);
        const ColorPalette& pal = doc.palette();
        out = ApplyProperties(e, doc, values, prompter, {pal.leftColor(), pal.rightColor()});
    });
    if (out.changed) {
        if (out.converted) fitFrames(frame, w);
        changed = true;
    }
    w->refreshTitle();
    return changed;
}

void ShowPropertiesSheet(CMainFrame* frame, CDraftWindow* w, CPropertiesSheet::Page page)
{
    if (!w) return;
    CQuillabyDoc& doc = w->document();
    CPropertiesSheet sheet(ReadProperties(doc), {toLf(doc.title()), toLf(doc.author()), toLf(doc.notes())}, page,
                           frame);
    if (sheet.exec() != QDialog::Accepted) return;
    ApplyPropertiesSheet(frame, w, sheet.values(), sheet.texts());
}

bool ImportPaletteFrom(CMainFrame* frame, CDraftWindow* w, const QString& path)
{
    CUiPrompter messages(frame);
    ImportResult r = ImportResult::NoChange;
    w->document().Transaction("Import Palette", [&](Edit e) {
        r = ImportPalette(e, w->document(), QFile::encodeName(path).toStdString(), messages);
    });
    w->refreshTitle();
    return r == ImportResult::Done;
}

bool ImportProjectPlanFrom(CMainFrame* frame, CDraftWindow* w, const QString& path)
{
    CUiPrompter messages(frame);
    ImportResult r = ImportResult::NoChange;
    w->document().Transaction("Import Project Plan", [&](Edit e) {
        r = ImportProjectPlan(e, w->document(), QFile::encodeName(path).toStdString(), messages);
    });
    if (r == ImportResult::Done)
        if (CYarnCommands* yarns = CYarnCommands::of(frame)) yarns->showProjectPlan(w);
    w->refreshTitle();
    return r == ImportResult::Done;
}

void AddDraftFileCommands(CMainFrame* frame, QMenu* file)
{
    QList<QAction*> needDraft;
    needDraft << file->addAction(QStringLiteral("C&lone"), frame,
                                 [frame] { CloneDraft(frame, frame->activeDraftWindow()); });
    needDraft << file->addAction(QStringLiteral("P&roperties..."), frame, [frame] {
        ShowPropertiesSheet(frame, frame->activeDraftWindow(), CPropertiesSheet::SettingsPage);
    });
    needDraft << file->addAction(QStringLiteral("No&tes..."), frame, [frame] {
        ShowPropertiesSheet(frame, frame->activeDraftWindow(), CPropertiesSheet::NotesPage);
    });
    QMenu* import = file->addMenu(QStringLiteral("&Import"));
    needDraft << import->menuAction();
    import->addAction(QStringLiteral("&Color Palette..."), frame, [frame] {
        CDraftWindow* w = frame->activeDraftWindow();
    if (!w) return;
    const QString path = chooseImportFile(frame);
    if (!path.isEmpty()) ImportPaletteFrom(frame, w, path);
});
    import->addAction(QStringLiteral("&Import Project Plan..."), frame, [frame] {
        CDraftWindow* w = frame->activeDraftWindow();
    if (!w) return;
    const QString path = chooseImportFile(frame);
    if (!path.isEmpty()) ImportProjectPlanFrom(frame, w, path);
    } // namespace qb
);
QObject::connect(file, &QMenu::aboutToShow, frame, [frame, needDraft] {
    const bool draft = frame->activeDraftWindow() != nullptr;
    for (QAction* a : needDraft) a->setEnabled(draft);
});
}

} // namespace qb
