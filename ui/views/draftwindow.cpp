#include "ui/views/draftwindow.h"

#include "ui/views/draftframe.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace qb {

CDraftWindow::CDraftWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path, const QString& title,
                           const Display& display, QWidget* parent)
    : QWidget(parent)
    , m_doc(std::move(doc))
    , m_display(display)
    , m_path(path)
    , m_title(title)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_frame = CDraftFrame::create(m_doc.get(), display.scale, display.drawnUp, display.showGridWhenHidden, this);
    m_frame->setDocumentTitle(title);
    m_frame->setDocumentPath(path);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_frame);
    connect(m_frame, &CGridFrame::titleChanged, this, [this] { refreshTitle(); });
    m_doc->subscribe(this);
    refreshTitle();
}

CDraftWindow::~CDraftWindow()
{
    // Every window on the draft goes before the draft itself.
    for (const QPointer<QMdiSubWindow>& sub : m_others) delete sub.data();
    delete m_frame;
    m_doc->unsubscribe(this);
}

void CDraftWindow::setPath(const QString& path, const QString& title)
{
    m_path = path;
    m_title = title;
    m_frame->setDocumentTitle(title);
    m_frame->setDocumentPath(path);
    for (const QPointer<QMdiSubWindow>& sub : m_others)
        if (auto* f = frameIn(sub)) f->setDocumentTitle(title);
    refreshTitle();
}

void CDraftWindow::refreshTitle()
{
    setWindowTitle(m_frame->frameTitle() + QStringLiteral("[*]"));
    setWindowModified(m_doc->isModified());
}

void CDraftWindow::setDisplay(bool drawnUp, bool showGridWhenHidden)
{
    m_display.drawnUp = drawnUp;
    m_display.showGridWhenHidden = showGridWhenHidden;
    std::vector<CGridFrame*> frames{m_frame};
    for (const QPointer<QMdiSubWindow>& sub : m_others)
        if (CGridFrame* f = frameIn(sub)) frames.push_back(f);
    for (CGridFrame* f : frames) {
        f->setDrawnUp(drawnUp);
        f->setShowGridWhenHidden(showGridWhenHidden);
    }
}

CGridFrame* CDraftWindow::openFrame(FrameKind kind, QMdiArea* mdi)
{
    CGridFrame* f =
        CreateGridFrame(kind, m_doc.get(), m_display.scale, m_display.drawnUp, m_display.showGridWhenHidden);
    f->setDocumentTitle(m_title);
    f->setDocumentPath(m_path);
    f->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi->addSubWindow(f);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(f->frameTitle());
    connect(f, &CGridFrame::titleChanged, sub, &QMdiSubWindow::setWindowTitle);
    m_others.removeAll(nullptr);
    m_others << sub;
    sub->show();
    f->fitInWindow();
    mdi->setActiveSubWindow(sub);
    return f;
}

void CDraftWindow::adoptSubWindow(QMdiSubWindow* sub)
{
    m_others.removeAll(nullptr);
    m_others << sub;
}

bool CDraftWindow::ownsSubWindow(const QMdiSubWindow* sub) const
{
    for (const QPointer<QMdiSubWindow>& s : m_others)
        if (s == sub) return true;
    return false;
}

CGridFrame* CDraftWindow::frameIn(const QMdiSubWindow* sub) const
{
    if (!sub) return nullptr;
    if (sub->widget() == this) return m_frame;
    return ownsSubWindow(sub) ? qobject_cast<CGridFrame*>(sub->widget()) : nullptr;
}

void CDraftWindow::documentUpdated(const CQuillabyDoc&, const UpdateHint&)
{
    if (isWindowModified() != m_doc->isModified()) setWindowModified(m_doc->isModified());
    emit documentChanged();
}

} // namespace qb
