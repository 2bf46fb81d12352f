#include "panetool.h"

#include "labeldialog.h"
#include "stamppreview.h"
#include "toolstate.h"

#include "views/gridview.h"
#include "views/interlacepopup.h"
#include "views/tdinggridview.h"

#include "draft/labeledit.h"
#include "draft/limits.h"

#include <QMenu>

#include <algorithm>

namespace qb {

QPoint CPaneTool::itemAt(QPoint pos) const
{
    const QPoint c = pos - m_pane->contentOffset();
    auto clampedItem = [](const GridAxis& a, int px) {
        const int i = a.itemAt(std::clamp(px, 0, std::max(0, a.contentSize() - 2)));
        return std::max(i, 0);
    };
    return {clampedItem(m_pane->columns(), c.x()), clampedItem(m_pane->rows(), c.y())};
}

void CPaneTool::selectPress(QPoint pos, int button)
{
    m_pane->clearSelection();
    m_selAnchor = itemAt(pos);
    m_button = button;
    m_tool = int(Tool::Selection);
    selectTo(pos);
}

void CPaneTool::selectTo(QPoint pos)
{
    const QPoint a = m_selAnchor, b = itemAt(pos);
    int c0 = std::min(a.x(), b.x()), c1 = std::max(a.x(), b.x());
    int r0 = std::min(a.y(), b.y()), r1 = std::max(a.y(), b.y());
    // The thread panes select whole threads: every shaft or treadle item.
    if (auto* t = dynamic_cast<CTdingGridView*>(m_pane)) {
        if (t->isWarpSide()) {
            r0 = 0;
            r1 = t->valueCount() - 1;
        } else {
            c0 = 0;
            c1 = t->valueCount() - 1;
        }
    } else if (m_pane->paneKind() == PaneKind::Tieup) {
        c1 = std::min(c1, doc().numTreadles() - 1);
        r1 = std::min(r1, doc().numShafts() - 1);
        if (c0 > c1 || r0 > r1) return;
    }
    m_pane->setSelection(c0, c1, r0, r1);
}

void CPaneTool::keepStampCopy()
{
    const bool warp = m_pane->paneKind() == PaneKind::Threading;
    const auto [first, lastSel] = selectedThreads();
    const int last = std::min(lastSel, warp ? doc().numEnds() - 1 : doc().numPicks() - 1);
    if (first > last) return;
    StampCopy c;
    for (int i = first; i <= last; ++i) {
        if (warp) {
            c.shafts.push_back(doc().threading(0)->GetShaft(i));
            c.colors.push_back(doc().threading(0)->GetColor(i));
        } else {
            c.sets.push_back(doc().treadling(0)->GetSet(i));
            c.colors.push_back(doc().treadling(0)->GetColor(i));
        }
    }
    m_stamp = std::move(c);
}

void CPaneTool::stampAt(int thread)
{
    const bool warp = m_pane->paneKind() == PaneKind::Threading;
    const StampCopy& c = *m_stamp;
    doc().Transaction("Stamp", [&](Edit s) {
        for (std::size_t k = 0; k < c.colors.size(); ++k) {
            const int at = thread + int(k);
            if (at >= kMaxThreads) break;
            if (warp) {
                if (c.shafts[k]) doc().SetThreadingCell(s, at, c.shafts[k], 0);
                else doc().ClearThreadingCell(s, at, 0);
                doc().SetThreadColors(s, Side::Threading, at, at, c.colors[k], 0);
            } else {
                doc().SetPickSet(s, at, c.sets[k], 0);
                doc().SetThreadColors(s, Side::Treadling, at, at, c.colors[k], 0);
            }
        }
    });
}

int CPaneTool::stampFirst(int thread) const
{
    const int n = m_stamp ? int(m_stamp->colors.size()) : 0;
    const int count = static_cast<CTdingGridView*>(m_pane)->threadAxis().itemCount();
    return std::max(0, std::min(thread - n / 2, count - n));
}

void CPaneTool::showStampPreview(QPoint pos)
{
    const Hit h = hitAt(pos);
    if (!m_stamp || h.thread < 0 || (side() != PaneSide::Threading && side() != PaneSide::Treadling)) {
        hideStampPreview();
        return;
    }
    showCopy(stampFirst(h.thread), *m_stamp);
}

void CPaneTool::showCopy(int first, const StampCopy& copy)
{
    const bool warp = side() == PaneSide::Threading;
    const auto* t = static_cast<CTdingGridView*>(m_pane);
    const int n = std::min(int(copy.colors.size()), t->threadAxis().itemCount() - first);
    if (n <= 0 || first < 0) {
        hideStampPreview();
        return;
    }
    // The frame spans the copied threads over all shaft or treadle rows.
    const int values = t->valueCount();
    const QRect frame = warp ? m_pane->itemRect(first, 0).united(m_pane->itemRect(first + n - 1, values - 1))
                             : m_pane->itemRect(0, first).united(m_pane->itemRect(values - 1, first + n - 1));
    std::vector<QRect> cells;
    for (int k = 0; k < n; ++k) {
        if (warp) {
            if (const int v = copy.shafts[k]; v >= 1 && v <= values) cells.push_back(m_pane->itemRect(first + k, v - 1));
        } else {
            for (int v = 1; v <= values; ++v)
                if (copy.sets[k].test(v)) cells.push_back(m_pane->itemRect(v - 1, first + k));
        }
    }
    if (!m_stampPreview) m_stampPreview = new CStampPreview(m_pane->viewport());
    m_stampPreview->showAt(frame, std::move(cells));
}

void CPaneTool::showMovedItem(int to)
{
    if (m_moveFrom < 0 || to < 0) return;
    if (side() == PaneSide::Tieup) {
        const int shafts = doc().numShafts();
        if (shafts < 1) return;
        const TUPTYPE tied = doc().tieup().column(m_moveFrom);
        std::vector<QRect> cells;
        for (int s = 1; s <= shafts; ++s)
            if (tied.test(s)) cells.push_back(m_pane->itemRect(to, s - 1));
        if (!m_stampPreview) m_stampPreview = new CStampPreview(m_pane->viewport());
        m_stampPreview->showAt(m_pane->itemRect(to, 0).united(m_pane->itemRect(to, shafts - 1)), std::move(cells));
        return;
    }
    StampCopy one;
    if (side() == PaneSide::Threading) one.shafts.push_back(doc().threading(0)->GetShaft(m_moveFrom));
    else one.sets.push_back(doc().treadling(0)->GetSet(m_moveFrom));
    one.colors.push_back(0);
    showCopy(to, one);
}

void CPaneTool::hideStampPreview()
{
    if (m_stampPreview) m_stampPreview->hide();
}

void CPaneTool::repeatThreads(int first, int last, int times)
{
    // The copies go in right after the selection, shifting what follows.
    const bool warp = m_pane->paneKind() == PaneKind::Threading;
    CQuillabyDoc& d = doc();
    const int n = last - first + 1;
    const int copies = std::min((times - 1) * n, kMaxThreads - (warp ? d.numEnds() : d.numPicks()));
    if (copies <= 0) {
        CToolState::instance().tell(QStringLiteral("There is no room for more threads."));
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

void CPaneTool::selectDone()
{
    const PaneKind k = m_pane->paneKind();
    if (m_pane->hasSelection() && (k == PaneKind::Threading || k == PaneKind::Treadling)) keepStampCopy();
    if (m_pane->paneKind() != PaneKind::Drawdown || !m_pane->hasSelection()) return;
    const int ends = doc().numEnds(), picks = doc().numPicks();
    const int e0 = m_pane->selection(0), e1 = std::min(m_pane->selection(1), ends - 1);
    const int p0 = m_pane->selection(2), p1 = std::min(m_pane->selection(3), picks - 1);
    if (e0 > e1 || p0 > p1 || !CToolState::instance().ask(QStringLiteral("Crop draft?\n"))) return;
    doc().Transaction("Crop", [&](Edit s) {
        if (e1 + 1 < ends) doc().DeleteThreads(s, Side::Threading, e1 + 1, ends - e1 - 1);
        if (e0 > 0) doc().DeleteThreads(s, Side::Threading, 0, e0);
        if (p1 + 1 < picks) doc().DeleteThreads(s, Side::Treadling, p1 + 1, picks - p1 - 1);
        if (p0 > 0) doc().DeleteThreads(s, Side::Treadling, 0, p0);
    });
    m_pane->clearSelection();
}

std::pair<int, int> CPaneTool::selectedThreads() const
{
    if (m_pane->paneKind() == PaneKind::Threading) return {m_pane->selection(0), m_pane->selection(1)};
    return {m_pane->selection(2), m_pane->selection(3)};
}

std::vector<CPaneTool::SelectionCommand> CPaneTool::selectionCommands() const
{
    using C = SelectionCommand;
    switch (m_pane->paneKind()) {
    case PaneKind::Threading:
    case PaneKind::Treadling: return {C::Clear, C::Set, C::Insert, C::Delete, C::SetColor, C::Label, C::Repeat};
    case PaneKind::Tieup:
        if (m_pane->hasSelection() && m_pane->selection(2) == 0 && m_pane->selection(3) >= doc().numShafts() - 1)
            return {C::FlipVertical, C::FlipHorizontal, C::Invert, C::DeleteTreadles};
        return {C::FlipVertical, C::FlipHorizontal, C::Invert, C::RotateCW, C::RotateCCW, C::Clear};
    case PaneKind::Drawdown: break;
    }
    return {};
}

bool CPaneTool::runSelectionCommand(SelectionCommand c)
{
    if (!m_pane->hasSelection()) return false;
    CQuillabyDoc& d = doc();
    const bool warp = m_pane->paneKind() == PaneKind::Threading;
    if (m_pane->paneKind() == PaneKind::Tieup) {
        const int t0 = m_pane->selection(0), t1 = m_pane->selection(1);
        const int s0 = m_pane->selection(2) + 1, s1 = m_pane->selection(3) + 1;
        // The tieup cells of the selection as they are now.
        std::vector<std::vector<bool>> was(t1 - t0 + 1, std::vector<bool>(s1 - s0 + 1));
        for (int t = t0; t <= t1; ++t)
            for (int s = s0; s <= s1; ++s) was[t - t0][s - s0] = d.tieup().cell(t, s);
        if (c == SelectionCommand::DeleteTreadles) {
            deleteTreadles(t0, t1);
            m_pane->clearSelection();
            return true;
        }
        const bool rotate = c == SelectionCommand::RotateCW || c == SelectionCommand::RotateCCW;
        if (rotate && t1 - t0 != s1 - s0) {
            CToolState::instance().tell(QStringLiteral("Only a square selection can be rotated."));
            return false;
        }
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
        m_pane->clearSelection();
        return true;
    }
    if (m_pane->paneKind() == PaneKind::Drawdown) return false;
    const auto [first, lastSel] = selectedThreads();
    const int count = warp ? d.numEnds() : d.numPicks();
    const int last = std::min(lastSel, count - 1);
    if (c == SelectionCommand::Label) {
        editLabel(first, lastSel);
        m_pane->clearSelection();
        return true;
    }
    // Insert and Set also work on blank threads beyond the last one in use.
    if (c != SelectionCommand::Insert && c != SelectionCommand::Set && first > last) return false;
    if (c == SelectionCommand::Repeat) {
        const int times = CToolState::instance().askNumber(QStringLiteral("Number of times to repeat:"), 2, 2, 100);
        if (times < 2) return false;
        repeatThreads(first, last, times);
        m_pane->clearSelection();
        return true;
    }
    const int n = last - first + 1;
    const ColorPalette& pal = d.palette();
    const int color = CToolState::instance().rightSelected() ? pal.rightColor() : pal.leftColor();
    d.Transaction(SelectionCommandName(c), [&](Edit s) {
        switch (c) {
        case SelectionCommand::Clear:
            d.ClearThreads(s, SideOf(warp), first, n);
            break;
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
        case SelectionCommand::Insert: {
            const int k = lastSel - first + 1;
            d.InsertThreads(s, SideOf(warp), first, k);
            break;
        }
        case SelectionCommand::Delete:
            d.DeleteThreads(s, SideOf(warp), first, n);
            break;
        case SelectionCommand::SetColor:
            d.SetThreadColors(s, SideOf(warp), first, last, color, 0);
            break;
        default: break;
        }
    });
    m_pane->clearSelection();
    return true;
}

namespace {
const char* const kSelectionTexts[] = {"Clea&r",    "&Insert",    "&Delete",     "Set Color", "&Label...",
                                       "&Repeat...", "Flip &Vert", "Flip &Horz", "&Invert",   "&Rotate CW",
                                       "Ro&tate CCW", "&Set",      "&Delete"};
} // namespace

std::string SelectionCommandName(CPaneTool::SelectionCommand c)
{
    // The menu text without its access key and dots, as the Edit menu names the step.
    std::string name;
    for (const char* p = kSelectionTexts[int(c)]; *p; ++p)
        if (*p != '&' && *p != '.') name += *p;
    if (c == CPaneTool::SelectionCommand::DeleteTreadles) name = "Delete Treadles";
    return name;
}

void CPaneTool::showSelectionMenu(QPoint pos)
{
    QMenu menu(m_pane);
    for (SelectionCommand c : selectionCommands()) {
        const char* text = kSelectionTexts[int(c)];
        if (c == SelectionCommand::Clear && m_pane->paneKind() == PaneKind::Tieup) text = "&Clear";
        QAction* a = menu.addAction(QString::fromLatin1(text));
        QObject::connect(a, &QAction::triggered, m_pane, [this, c] { runSelectionCommand(c); });
    }
    menu.exec(m_pane->viewport()->mapToGlobal(pos));
}

void CPaneTool::deleteTreadles(int first, int last)
{
    // The treadles to the right close the gap, the picks lose the deleted
    // treadles and the rest are renumbered; the freed columns at the end stay empty.
    CQuillabyDoc& d = doc();
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

void CPaneTool::editLabel(int first, int last)
{
    if (side() != PaneSide::Threading && side() != PaneSide::Treadling) return;
    const bool warp = side() == PaneSide::Threading;
    const Tding* seq = warp ? static_cast<const Tding*>(doc().threading(0)) : doc().treadling(0);
    const Label* existing = seq ? seq->FindLabel(first, last - first + 1) : nullptr;
    LabelRequest req;
    req.from = first + 1;
    req.to = last + 1;
    if (existing) {
        req.text = existing->text;
        req.oldStart = existing->start;
        req.oldLength = existing->length;
    }
    if (!RunLabelDialog(m_pane, req)) return;
    doc().Transaction("Label", [&](Edit e) { ApplyLabelRequest(e, doc(), warp, req); });
}

void CPaneTool::moveThread(int from, int to)
{
    // The thread leaves its place and is put back in at the drop position,
    // with its values, color and symbol in every row.
    const bool warp = side() == PaneSide::Threading;
    CQuillabyDoc& d = doc();
    const int rows = warp ? d.numWarps() : d.numWefts();
    struct Row {
        int value = 0;
        TreadleSet set;
        int color = 0, symbol = 0;
    };
    std::vector<Row> saved(rows);
    for (int r = 0; r < rows; ++r) {
        const Tding* t = warp ? static_cast<const Tding*>(d.threading(r)) : d.treadling(r);
        if (!t) continue;
        saved[r].color = t->GetColor(from);
        saved[r].symbol = t->GetSymbol(from);
        if (warp) saved[r].value = d.threading(r)->GetShaft(from);
        else saved[r].set = d.treadling(r)->GetSet(from);
    }
    const bool thick = (warp ? static_cast<const Tding*>(d.threading(0)) : d.treadling(0))->GetThick(from) != 0;
    d.Transaction("Move", [&](Edit s) {
        if (warp) {
            d.DeleteThreads(s, Side::Threading, from, 1);
            d.InsertThreads(s, Side::Threading, to, 1);
        } else {
            d.DeleteThreads(s, Side::Treadling, from, 1);
            d.InsertThreads(s, Side::Treadling, to, 1);
        }
        for (int r = 0; r < rows; ++r) {
            if (warp) {
                if (saved[r].value) d.SetThreadingCell(s, to, saved[r].value, r);
                d.SetThreadColors(s, Side::Threading, to, to, saved[r].color, r);
            } else {
                d.SetPickSet(s, to, saved[r].set, r);
                d.SetThreadColors(s, Side::Treadling, to, to, saved[r].color, r);
            }
            d.SetSymbol(s, SideOf(warp), to, saved[r].symbol, r);
        }
        if (thick) d.SetThick(s, SideOf(warp), to, true);
    });
}

} // namespace qb
