#include "ui/app/documentfiles.h"

#include "ui/app/autosave.h"
#include "ui/app/draftreadwrite.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/storedsettings.h"
#include "ui/base/waitcursor.h"
#include "ui/views/draftwindow.h"
#include "ui/yarn/yarncommands.h"
#include "ui/yarn/yarnfiledialogs.h"

#include "core/draft/quillabydoc.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

namespace qb {

namespace {

CDocumentFiles::DocumentLoader& loader()
{
    static CDocumentFiles::DocumentLoader l;
    return l;
}

CDocumentFiles::DocumentSaver& saver()
{
    static CDocumentFiles::DocumentSaver s;
    return s;
}

} // namespace

CDocumentFiles::CDocumentFiles(CMainFrame& frame, CRecentFileList& recent)
    : QObject(&frame)
    , m_frame(frame)
    , m_recent(recent)
{
    m_askSave = [this](const QString& title) {
        const auto b = QMessageBox::question(
            &m_frame, QStringLiteral("Quillaby"), QStringLiteral("Save changes to %1?").arg(title),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return b == QMessageBox::Yes ? SaveAnswer::Save
                                     : (b == QMessageBox::No ? SaveAnswer::Discard : SaveAnswer::Cancel);
    };
}

void CDocumentFiles::setDocumentLoader(DocumentLoader l)
{
    loader() = std::move(l);
}

void CDocumentFiles::setDocumentSaver(DocumentSaver s)
{
    saver() = std::move(s);
}

bool CDocumentFiles::openFile(const QString& path)
{
    if (path.isEmpty()) return false;
    const QString abs = QFileInfo(path).absoluteFilePath();
    QMdiArea* mdi = m_frame.mdiArea();
    const QList<QMdiSubWindow*> windows = mdi->subWindowList();
    for (QMdiSubWindow* sub : windows) {
        auto* w = qobject_cast<CDraftWindow*>(sub->widget());
        auto* other = dynamic_cast<IDocumentWindow*>(sub->widget());
        if ((w && w->path() == abs) || (other && other->filePath() == abs)) {
            mdi->setActiveSubWindow(sub);
            return true;
        }
    }
    const QString shown = QDir::toNativeSeparators(abs);
    if (!QFileInfo(abs).isFile()) {
        if (m_recent.files().contains(abs)) forgetRecentFile(abs);
        m_frame.report(QStringLiteral("Unable to open %1.\nThe file does not exist.").arg(shown));
        return false;
    }
    // Yarn files open in a yarn window and stay off the recent-file list.
    if (IsYarnFilePath(abs)) {
        CYarnCommands* yarns = CYarnCommands::of(&m_frame);
        return yarns && yarns->openYarnFile(abs);
    }
    const QString suffix = QFileInfo(abs).suffix().toLower();
    for (const DocumentType& type : std::as_const(m_types))
        if (type.suffixes.contains(suffix)) {
            if (!type.open(abs)) return false;
            noteRecentFile(abs);
            return true;
        }
    auto doc = std::make_unique<CQuillabyDoc>();
    QString error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = (loader() ? loader() : ReadDraftFile)(abs, m_frame.newDraftDefaults(), *doc, error);
    }
    if (!ok) {
        if (!error.isEmpty()) m_frame.report(error);
        return false;
    }
    doc->EnsureComplete();
    doc->SetModified(false);
    m_frame.addDocumentWindow(std::move(doc), abs);
    noteRecentFile(abs);
    return true;
}

void CDocumentFiles::OnFileOpen()
{
    QString filters = QStringLiteral("Weaving Files (*.wif *.qlb);;WIF File (*.wif);;Quillaby File (*.qlb);;"
                                     "Yarn Database Files (*.txt);;Yarn Archive Files (*.yrn)");
    for (const DocumentType& type : std::as_const(m_types)) filters += QStringLiteral(";;") + type.filter;
    CStoredSettings& settings = m_frame.settingsMutable();
    const QString file = QFileDialog::getOpenFileName(&m_frame, QStringLiteral("Open"), settings.mruOpenFileLocn,
                                                      filters + QStringLiteral(";;All Files (*)"));
    if (file.isEmpty()) return;
    settings.mruOpenFileLocn = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    openFile(file);
}

void CDocumentFiles::OnFileSave()
{
    if (IDocumentWindow* other = m_frame.activeOtherDocument()) saveOtherDocument(other, false);
    else if (CDraftWindow* w = m_frame.activeDraftWindow()) saveDocument(w);
}

void CDocumentFiles::OnFileSaveAs()
{
    if (IDocumentWindow* other = m_frame.activeOtherDocument()) saveOtherDocument(other, true);
    else if (CDraftWindow* w = m_frame.activeDraftWindow()) saveDocumentAs(w);
}

bool CDocumentFiles::saveOtherDocument(IDocumentWindow* w, bool as)
{
    const bool ok = as || w->filePath().isEmpty() ? w->saveAs() : w->save();
    if (ok) noteRecentFile(w->filePath());
    return ok;
}

bool CDocumentFiles::saveDocument(CDraftWindow* w)
{
    return w->path().isEmpty() ? saveDocumentAs(w) : writeDocument(w, w->path());
}

bool CDocumentFiles::saveDocumentAs(CDraftWindow* w)
{
    CStoredSettings& settings = m_frame.settingsMutable();
    const QString wif = QStringLiteral("WIF File (*.wif)");
    const QString qlb = QStringLiteral("Quillaby File (*.qlb)");
    QString selected = settings.DfltSaveAsQLB ? qlb : wif;
    const QString start =
        QDir(settings.mruSaveFileLocn)
            .filePath(QFileInfo(w->title()).completeBaseName() + (settings.DfltSaveAsQLB ? ".qlb" : ".wif"));
    QString file = QFileDialog::getSaveFileName(&m_frame, QStringLiteral("Save As"), start,
                                                wif + QStringLiteral(";;") + qlb, &selected);
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += selected == qlb ? QStringLiteral(".qlb") : QStringLiteral(".wif");
    settings.mruSaveFileLocn = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    return writeDocument(w, file);
}

bool CDocumentFiles::canCloseDocument(CDraftWindow* w)
{
    if (!w->document().isModified() || !m_askSave) return true;
    switch (m_askSave(w->title())) {
    case SaveAnswer::Save: return saveDocument(w);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

bool CDocumentFiles::canCloseDocument(IDocumentWindow* w)
{
    if (!w->isDocumentModified() || !m_askSave) return true;
    switch (m_askSave(w->documentTitle())) {
    case SaveAnswer::Save: return saveOtherDocument(w, false);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

bool CDocumentFiles::writeDocument(CDraftWindow* w, const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    QString error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = (saver() ? saver() : WriteDraftFile)(abs, w->document(), error);
    }
    if (!ok) {
        m_frame.report(error.isEmpty() ? QStringLiteral("Unable to save %1.").arg(QDir::toNativeSeparators(abs))
                                       : error);
        return false;
    }
    w->document().SetModified(false);
    w->setPath(abs, QFileInfo(abs).fileName());
    if (CAutosave* autosave = m_frame.autosave()) autosave->forget(w);
    noteRecentFile(abs);
    return true;
}

QString CDocumentFiles::nextUntitledName()
{
    return QStringLiteral("Draft%1").arg(++m_untitled);
}

void CDocumentFiles::noteRecentFile(const QString& path)
{
    m_recent.add(path);
    QSettings store = OpenSettingsStore();
    m_recent.save(store);
    emit recentFilesChanged();
}

void CDocumentFiles::forgetRecentFile(const QString& path)
{
    m_recent.remove(path);
    QSettings store = OpenSettingsStore();
    m_recent.save(store);
    emit recentFilesChanged();
}

void CDocumentFiles::clearRecentFiles()
{
    m_recent.clear();
    QSettings store = OpenSettingsStore();
    m_recent.save(store);
    emit recentFilesChanged();
}

} // namespace qb
