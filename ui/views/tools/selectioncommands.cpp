#include "ui/views/tools/selectioncommands.h"

#include "ui/views/tools/labeldialog.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/base/dialogparts.h"
#include "ui/views/gridview.h"
#include "ui/views/tools/repeatdialog.h"

#include "core/draft/labeledit.h"
#include "core/draft/limits.h"

#include <QMenu>

#include <algorithm>

namespace qb {

namespace {
const char* const kSelectionTexts[] = {"Clea&r",      "&Insert",    "&Delete",    "Set Color", "&Label...",
                                       "&Repeat...",  "Flip &Vert", "Flip &Horz", "&Invert",   "&Rotate CW",
                                       "Ro&tate CCW", "&Set",       "&Delete"};
} // namespace

std::string SelectionCommandName(SelectionCommand c)
{
    // The menu text without its access key and dots, as the Edit menu names the step.
    std::string name;
    for (const char* p = kSelectionTexts[int(c)]; *p; ++p)
        if (*p != '&' && *p != '.') name += *p;
    if (c == SelectionCommand::DeleteTreadles) name = "Delete Treadles";
    return name;
}

std::pair<int, int> CSelectionCommands::selectedThreads() const
{
    const CGridView* pane = m_host.pane();
    if (pane->paneKind() == PaneKind::Threading) return {pane->selection(0), pane->selection(1)};
    return {pane->selection(2), pane->selection(3)};
}

std::vector<SelectionCommand> CSelectionCommands::offered() const
{
    using C = SelectionCommand;
    const CGridView* pane = m_host.pane();
    switch (pane->paneKind()) {
    case PaneKind::Threading:
    case PaneKind::Treadling: return {C::Clear, C::Set, C::Insert, C::Delete, C::SetColor, C::Label, C::Repeat};
    case PaneKind::Tieup:
        if (pane->hasSelection() && pane->selection(2) == 0 && pane->selection(3) >= m_host.doc().numShafts() - 1)
            return {C::FlipVertical, C::FlipHorizontal, C::Invert, C::DeleteTreadles};
        return {C::FlipVertical, C::FlipHorizontal, C::Invert, C::RotateCW, C::RotateCCW, C::Clear};
    case PaneKind::Drawdown: break;
    }
    return {};
}

void CSelectionCommands::showMenu(QPoint pos)
{
    CGridView* pane = m_host.pane();
    QMenu menu(pane);
    for (SelectionCommand c : offered()) {
        const char* text = kSelectionTexts[int(c)];
        if (c == SelectionCommand::Clear && pane->paneKind() == PaneKind::Tieup) text = "&Clear";
        QAction* a = menu.addAction(QString::fromLatin1(text));
        QObject::connect(a, &QAction::triggered, pane, [this, c] { run(c); });
    }
    menu.exec(pane->viewport()->mapToGlobal(pos));
}

bool CSelectionCommands::runOnTieup(SelectionCommand c)
{
    CGridView* pane = m_host.pane();
    CQuillabyDoc& d = m_host.doc();
    const int t0 = pane->selection(0), t1 = pane->selection(1);
    const int s0 = pane->selection(2) + 1, s1 = pane->selection(3) + 1;
    if (c == SelectionCommand::DeleteTreadles) {
        deleteTreadles(t0, t1);
        pane->clearSelection();
        return true;
    }
    const bool rotate = c == SelectionCommand::RotateCW || c == SelectionCommand::RotateCCW;
    if (rotate && t1 - t0 != s1 - s0) {
        m_host.tell(QStringLiteral("Only a square selection can be rotated."));
        return false;
    }
    // The tieup cells of the selection as they are now.
    std::vector<std::vector<bool>> was(t1 - t0 + 1, std::vector<bool>(s1 - s0 + 1));
    for (int t = t0; t <= t1; ++t)
        for (int s = s0; s <= s1; ++s) was[t - t0][s - s0] = d.tieup().cell(t, s);
    d.Transaction(SelectionCommandName(c), [&](Edit src) {
        for (int t = t0; t <= t1; ++t)
            for (int s = s0; s <= s1; ++s) {
                bool on = false;
                switch (c) {
                case SelectionCommand::FlipVertical: on = was[t - t0][s1 - s]; break;
                case SelectionCommand::FlipHorizontal: on = was[t1 - t][s - s0]; break;
                case SelectionCommand::Invert: on = !was[t - t0][s - s0]; break;
                // Quarter turns of a square selection as seen with shaft 1 at the bottom.
                case SelectionCommand::RotateCW: on = was[s1 - s][t - t0]; break;
                case SelectionCommand::RotateCCW: on = was[s - s0][t1 - t]; break;
                default: on = false; break;
                }
                if (on) d.SetTieupCell(src, t, s);
                else d.ClearTieupCell(src, t, s);
            }
    });
    pane->clearSelection();
    return true;
}

bool CSelectionCommands::run(SelectionCommand c)
{
    CGridView* pane = m_host.pane();
    if (!pane->hasSelection()) return false;
    if (pane->paneKind() == PaneKind::Tieup) return runOnTieup(c);
    if (pane->paneKind() == PaneKind::Drawdown) return false;
    CQuillabyDoc& d = m_host.doc();
    const bool warp = pane->paneKind() == PaneKind::Threading;
    const auto [first, lastSel] = selectedThreads();
    const int count = warp ? d.numEnds() : d.numPicks();
    const int last = std::min(lastSel, count - 1);
    if (c == SelectionCommand::Label) {
        editLabel(first, lastSel);
        pane->clearSelection();
        return true;
    }
    // Insert and Set also work on blank threads beyond the last one in use.
    if (c != SelectionCommand::Insert && c != SelectionCommand::Set && first > last) return false;
    if (c == SelectionCommand::Repeat) return repeat(first, last);
    const int n = last - first + 1;
    const ColorPalette& pal = d.palette();
    const int color = CToolState::instance().rightSelected() ? pal.rightColor() : pal.leftColor();
    const Side side = SideOf(warp);
    d.Transaction(SelectionCommandName(c), [&](Edit s) {
        switch (c) {
        case SelectionCommand::Clear: d.ClearThreads(s, side, first, n); break;
        case SelectionCommand::Set:
            // A straight draw across the selected threads, from shaft (treadle) 1.
            for (int i = first; i <= std::min(lastSel, kMaxThreads - 1); ++i) {
                const int v = (i - first) % (warp ? d.numShafts() : d.numTreadles()) + 1;
                if (warp) {
                    d.SetThreadingCell(s, i, v, 0);
                } else {
                    TreadleSet set;
                    set.set(v);
                    d.SetPickSet(s, i, set, 0);
                }
            }
            break;
        case SelectionCommand::Insert: d.InsertThreads(s, side, first, lastSel - first + 1); break;
        case SelectionCommand::Delete: d.DeleteThreads(s, side, first, n); break;
        case SelectionCommand::SetColor: d.SetThreadColors(s, side, first, last, color, 0); break;
        default: break;
        }
    });
    pane->clearSelection();
    return true;
}

bool CSelectionCommands::repeat(int first, int last)
{
    CRepeatDialog dialog(m_host.pane()->window(), false);
    if (!RunDialog(dialog)) return false;
    repeatThreads(first, last, dialog.times());
    m_host.pane()->clearSelection();
    return true;
}

void CSelectionCommands::repeatThreads(int first, int last, int times)
{
    // The copies go in right after the selection, shifting what follows.
    const bool warp = m_host.kind() == PaneKind::Threading;
    CQuillabyDoc& d = m_host.doc();
    const int n = last - first + 1;
    const int copies = std::min((times - 1) * n, kMaxThreads - (warp ? d.numEnds() : d.numPicks()));
    if (copies <= 0) {
        m_host.tell(QStringLiteral("There is no room for more threads."));
        return;
    }
    d.Transaction("Repeat", [&](Edit s) {
        const int at = last + 1;
        d.InsertThreads(s, SideOf(warp), at, copies);
        const int rows = warp ? d.numWarps() : d.numWefts();
        for (int k = 0; k < copies; ++k) {
            const int from = first + k % n, to = at + k;
            for (int r = 0; r < rows; ++r) {
                const Tding* t = warp ? static_cast<const Tding*>(d.threading(r)) : d.treadling(r);
                if (!t) continue;
                if (warp) {
                    if (const int v = d.threading(r)->GetShaft(from)) d.SetThreadingCell(s, to, v, r);
                    d.SetThreadColors(s, Side::Threading, to, to, t->GetColor(from), r);
                } else {
                    d.SetPickSet(s, to, d.treadling(r)->GetSet(from), r);
                    d.SetThreadColors(s, Side::Treadling, to, to, t->GetColor(from), r);
                }
            }
        }
    });
}

void CSelectionCommands::deleteTreadles(int first, int last)
{
    // The treadles to the right close the gap, the picks lose the deleted
    // treadles and the rest are renumbered; the freed columns at the end stay empty.
    CQuillabyDoc& d = m_host.doc();
    const int n = last - first + 1, treadles = d.numTreadles();
    d.Transaction("Delete Treadles", [&](Edit s) {
        for (int t = first; t < treadles; ++t)
            d.SetTieupColumn(s, t, t + n < treadles ? d.tieup().column(t + n) : TUPTYPE{});
        if (d.isLiftplan()) return;
        for (int r = 0; r < d.numWefts(); ++r) {
            const Treadling* tr = d.treadling(r);
            if (!tr) continue;
            for (int p = 0; p < d.numPicks(); ++p) {
                const TreadleSet was = tr->GetSet(p);
                TreadleSet now;
                for (int t = 1; t <= treadles; ++t) {
                    if (!was.test(t) || (t > first && t <= last + 1)) continue;
                    now.set(t > last + 1 ? t - n : t);
                }
                if (!(now == was)) d.SetPickSet(s, p, now, r);
            }
        }
    });
}

void CSelectionCommands::editLabel(int first, int last)
{
    if (!m_host.threadPane()) return;
    const bool warp = m_host.kind() == PaneKind::Threading;
    CQuillabyDoc& doc = m_host.doc();
    const Tding* seq = warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
    const Label* existing = seq ? seq->FindLabel(first, last - first + 1) : nullptr;
    LabelRequest req;
    req.from = first + 1;
    req.to = last + 1;
    if (existing) {
        req.text = existing->text;
        req.oldStart = existing->start;
        req.oldLength = existing->length;
    }
    if (!RunLabelDialog(m_host.pane(), req)) return;
    doc.Transaction("Label", [&](Edit e) { ApplyLabelRequest(e, doc, warp, req); });
}

} // namespace qb
