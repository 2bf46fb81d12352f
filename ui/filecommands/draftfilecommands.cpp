#include "ui/filecommands/draftfilecommands.h"

#include "ui/base/commandstep.h"
#include "ui/base/imainwindow.h"
#include "ui/base/uiprompter.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/gridview.h"

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
void fitFrames(IMainWindow* main, CDraftWindow* w)
{
    const QList<QMdiSubWindow*> subs = main->mdiArea()->subWindowList();
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

} // namespace

CDraftWindow* CloneDraft(IMainWindow* main, CDraftWindow* w)
{
    if (!w) return nullptr;
    auto copy = w->document().Clone();
    // Never saved: closing it asks first.
    copy->SetModified(true);
    return main->addDocumentWindow(std::move(copy), QString());
}

bool ApplyPropertiesSheet(IMainWindow* main, CDraftWindow* w, const DraftProperties& values, const DraftTexts& texts)
{
    CQuillabyDoc& doc = w->document();
    bool changed = false;
    PropertiesOutcome out;
    // Texts and settings are one step, as the sheet was one action.
    doc.Transaction("Properties", [&](Edit e) {
        const DraftTexts before{toLf(doc.title()), toLf(doc.author()), toLf(doc.notes())};
        if (!(texts == before))
            changed = doc.SetTexts(e, toCrLf(texts.title), toCrLf(texts.author), toCrLf(texts.notes));
        CUiPrompter prompter(main);
        const ColorPalette& pal = doc.palette();
        out = ApplyProperties(e, doc, values, prompter, {pal.leftColor(), pal.rightColor()});
    });
    if (out.changed) {
        if (out.converted) fitFrames(main, w);
        changed = true;
    }
    w->refreshTitle();
    return changed;
}

void ShowPropertiesSheet(IMainWindow* main, CDraftWindow* w, CPropertiesSheet::Page page)
{
    if (!w) return;
    CQuillabyDoc& doc = w->document();
    CPropertiesSheet sheet(ReadProperties(doc), {toLf(doc.title()), toLf(doc.author()), toLf(doc.notes())}, page,
                           main->window());
    if (sheet.exec() != QDialog::Accepted) return;
    ApplyPropertiesSheet(main, w, sheet.values(), sheet.texts());
}

bool ImportPaletteFrom(IMainWindow* main, CDraftWindow* w, const QString& path)
{
    CUiPrompter messages(main);
    ImportResult r = ImportResult::NoChange;
    w->document().Transaction("Import Palette", [&](Edit e) {
        r = ImportPalette(e, w->document(), QFile::encodeName(path).toStdString(), messages);
    });
    w->refreshTitle();
    return r == ImportResult::Done;
}

void AddDraftFileCommands(IMainWindow* main)
{
    QMenu* file = main->menu(MenuId::File);
    QMainWindow* win = main->window();
    QList<QAction*> needDraft;
    needDraft << file->addAction(QStringLiteral("C&lone"), win,
                                 [main] { CloneDraft(main, main->activeDraftWindow()); });
    needDraft << file->addAction(QStringLiteral("P&roperties..."), win, [main] {
        ShowPropertiesSheet(main, main->activeDraftWindow(), CPropertiesSheet::SettingsPage);
    });
    needDraft << file->addAction(QStringLiteral("No&tes..."), win, [main] {
        ShowPropertiesSheet(main, main->activeDraftWindow(), CPropertiesSheet::NotesPage);
    });
    QMenu* importMenu = file->addMenu(QStringLiteral("&Import"));
    needDraft << importMenu->menuAction();
    main->registerMenu(MenuId::FileImport, importMenu);
    importMenu->addAction(QStringLiteral("&Color Palette..."), win, [main] {
        CDraftWindow* w = main->activeDraftWindow();
        if (!w) return;
        const QString path = ChooseDraftFile(main);
        if (!path.isEmpty()) ImportPaletteFrom(main, w, path);
    });
    QObject::connect(file, &QMenu::aboutToShow, win, [main, needDraft] {
        const bool draft = main->activeDraftWindow() != nullptr;
        for (QAction* a : needDraft) a->setEnabled(draft);
    });
}

} // namespace qb
