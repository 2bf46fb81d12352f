#include "ui/wholedraft/fabricanalysismode.h"

#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tools/toolstate.h"

#include <QMouseEvent>

namespace qb {

CFabricAnalysisMode::CFabricAnalysisMode(CDraftFrame* frame) : QObject(frame), m_frame(frame)
{
    setObjectName(QStringLiteral("fabricAnalysis"));
    if (CDraftView* v = frame->draftView()) v->viewport()->installEventFilter(this);
}

CFabricAnalysisMode* CFabricAnalysisMode::of(CDraftFrame* frame)
{
    if (CFabricAnalysisMode* m = find(frame)) return m;
    return new CFabricAnalysisMode(frame);
}

CFabricAnalysisMode* CFabricAnalysisMode::find(const CDraftFrame* frame)
{
    return frame ? frame->findChild<CFabricAnalysisMode*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool CFabricAnalysisMode::setOn(bool on, IPrompter& prompter)
{
    if (on == m_on) return true;
    CQuillabyDoc& doc = *m_frame->document();
    if (on) {
        if (!CanAnalyzeFabric(doc, prompter).done()) return false;
        m_coloring = m_frame->drawdownColoring();
        // Black crossings are warp up: the warp view without interlacing,
        // in this frame only; the draft keeps its drawdown style.
        m_frame->setInterlaceSuppressed(true);
        m_frame->setColoring(1);
        doc.Transaction("Fabric Analysis", [&](Edit e) { m_risingShed = FabricAnalysisEnter(e, doc); });
        m_on = true;
        // The cloth is drawn with the pencil.
        CToolState::instance().setTool(Tool::Pencil);
    } else {
        m_on = false;
        // A draft that was turned into liftplan form (or given more rows)
        // meanwhile is no longer the analysis's to tidy: it keeps its cloth
        // as it is, in the shed it has now.
        FixedPrompter silent;
        if (CanAnalyzeFabric(doc, silent).done())
            doc.Transaction("Fabric Analysis", [&](Edit e) { FabricAnalysisLeave(e, doc, m_risingShed); });
        m_frame->setColoring(m_coloring);
        m_frame->setInterlaceSuppressed(false);
    }
    m_frame->relayoutPanes();
    return true;
}

CellOutcome CFabricAnalysisMode::drawCell(int end, int pick, bool lifted)
{
    if (!m_on) return CellOutcome::NotAvailable;
    CQuillabyDoc& doc = *m_frame->document();
    CellOutcome out = CellOutcome::NotAvailable;
    doc.Transaction("Fabric Analysis", [&](Edit e) { out = FabricAnalysisCell(e, doc, end, pick, lifted); });
    if (out == CellOutcome::NoRoom || out == CellOutcome::NotAvailable) {
        // The draft cannot follow any further: the mode ends as if switched off.
        FixedPrompter silent;
        setOn(false, silent);
    }
    return out;
}

bool CFabricAnalysisMode::crossingAt(const QPoint& pos, int& end, int& pick) const
{
    const CDraftView* v = m_frame->draftView();
    if (!v) return false;
    const QPoint c = pos - v->contentOffset();
    end = v->columns().itemAt(c.x());
    pick = v->rows().itemAt(c.y());
    return end >= 0 && pick >= 0;
}

bool CFabricAnalysisMode::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_on) return QObject::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    // Only clicks count: each one reworks threading, tieup and treadling and
    // is one undo step, so a drag would smear many steps over the cloth.
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return true;
    auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return true;
    m_frame->setActivePane(m_frame->draftView());
    int end = 0, pick = 0;
    if (crossingAt(e->position().toPoint(), end, pick)) drawCell(end, pick, e->button() == Qt::LeftButton);
    return true;
}

} // namespace qb
