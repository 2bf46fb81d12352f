#include "core/draft/palettetools.h"

#include "core/draft/draftstep.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <map>

namespace qb {

namespace {

// Every row of both sides with its thread count.
template <class F> void forEachRow(const CQuillabyDoc& doc, F&& f)
{
    for (int r = 0; r < doc.numWarps(); ++r)
        if (doc.threading(r)) f(static_cast<const Tding&>(*doc.threading(r)), doc.numEnds(), true, r);
    for (int r = 0; r < doc.numWefts(); ++r)
        if (doc.treadling(r)) f(static_cast<const Tding&>(*doc.treadling(r)), doc.numPicks(), false, r);
}

Tding* mutableRow(CQuillabyDoc& doc, bool warp, int r)
{
    return warp ? static_cast<Tding*>(doc.raw().threadingMutable(r))
                : static_cast<Tding*>(doc.raw().treadlingMutable(r));
}

} // namespace

std::vector<bool> UsedColors(const CQuillabyDoc& doc, const std::vector<int>& alsoUsed)
{
    std::vector<bool> used(kMaxColors, false);
    auto mark = [&](int c) {
        if (c >= 0 && c < kMaxColors) used[c] = true;
    };
    forEachRow(doc, [&](const Tding& t, int n, bool, int) {
        for (int i = 0; i < n; ++i) mark(t.GetColor(i));
        mark(t.defaultColor());
        mark(t.alternateColor());
    });
    for (int c : alsoUsed) mark(c);
    return used;
}

namespace {
void clearPalette(CQuillabyDoc& doc)
{
    const ColorPalette& old = doc.palette();
    // The colors in use, in the order they first appear.
    std::vector<int> order;
    std::vector<bool> seen(256, false);
    auto note = [&](int c) {
        if (c < 0 || c >= old.count() || seen[c]) return;
        seen[c] = true;
        order.push_back(c);
    };
    forEachRow(doc, [&](const Tding& t, int n, bool, int) {
        for (int i = 0; i < n; ++i) note(t.GetColor(i));
    });
    forEachRow(doc, [&](const Tding& t, int, bool, int) {
        note(t.defaultColor());
        note(t.alternateColor());
    });

    ColorPalette fresh;
    std::vector<COLORREF> wanted;
    for (int c : order) wanted.push_back(old.color(c));
    const COLORREF black = rgb(0, 0, 0), white = rgb(255, 255, 255);
    int room = kMaxColors;
    for (COLORREF c : wanted)
        if (c != black && c != white) --room;
    // Black and white lead only when no used color has to give way to them.
    const bool lead = room >= 2;
    if (lead) {
        fresh.add(black, true);
        fresh.add(white, true);
    }
    std::map<int, int> remap;
    for (int c : order) {
        const bool named = old.name(c) != ColorPalette::defaultName(c);
        const int at = fresh.add(old.color(c), true, named ? old.name(c) : std::string());
        remap[c] = at;
    }
    if (!lead) {
        fresh.add(black, true);
        fresh.add(white, true);
    }
    auto mapped = [&](int c) {
        const auto it = remap.find(c);
        return it == remap.end() ? 0 : it->second;
    };

    for (int side = 0; side < 2; ++side) {
        const bool warp = side == 0;
        const int rows = warp ? doc.numWarps() : doc.numWefts();
        const int n = warp ? doc.numEnds() : doc.numPicks();
        for (int r = 0; r < rows; ++r) {
            Tding* t = mutableRow(doc, warp, r);
            if (!t) continue;
            std::vector<int> colors(n);
            for (int i = 0; i < n; ++i) colors[i] = mapped(t->GetColor(i));
            t->setDefaultColor(mapped(t->defaultColor()));
            t->setAlternateColor(mapped(t->alternateColor()));
            if (t->referenceColor() < old.count()) t->setReferenceColor(mapped(t->referenceColor()));
            for (int i = 0; i < n; ++i) t->SetColor(i, colors[i]);
        }
    }
    fresh.setLeftColor(0);
    fresh.setRightColor(fresh.count() >= 2 ? 1 : 0);
    doc.raw().paletteMutable() = fresh;
}
} // namespace

void ClearPalette(Edit e, CQuillabyDoc& doc)
{
    DraftStep step(e, doc, DraftSnapshot::Structure | DraftSnapshot::Palette);
    clearPalette(doc);
    step.commit();
}

int PlaceNewColor(Edit e, CQuillabyDoc& doc, COLORREF c, const std::vector<int>& keep)
{
    const ColorPalette& pal = doc.palette();
    c &= 0xFFFFFF;
    if (const int at = pal.find(c); at >= 0) return at;
    int at = -1;
    if (pal.count() < kMaxColors) {
        at = pal.count();
    } else {
        std::vector<int> alsoUsed = keep;
        alsoUsed.push_back(pal.leftColor());
        alsoUsed.push_back(pal.rightColor());
        const std::vector<bool> used = UsedColors(doc, alsoUsed);
        for (int i = 2; i < pal.count() && at < 0; ++i)
            if (!used[i]) at = i;
    }
    if (at < 0) return -1;
    DraftStep step(e, doc, DraftSnapshot::Palette);
    ColorPalette& p = doc.raw().paletteMutable();
    if (at == p.count()) {
        p.add(c, true);
    } else {
        p.setColor(at, c);
        p.setName(at, ColorPalette::defaultName(at));
    }
    step.commit();
    return at;
}

bool RenameColor(Edit e, CQuillabyDoc& doc, int index, const std::string& name)
{
    if (index < 0 || index >= doc.palette().count()) return false;
    DraftStep step(e, doc, DraftSnapshot::Palette);
    doc.raw().paletteMutable().setName(index, name);
    return step.commit();
}

bool FillThreadColors(Edit e, CQuillabyDoc& doc, Side side, int row, int pattern, int first, int second)
{
    const bool warp = IsWarp(side);
    const Tding* t = warp ? static_cast<const Tding*>(doc.threading(row)) : doc.treadling(row);
    const int n = warp ? doc.numEnds() : doc.numPicks();
    const int colors = doc.palette().count();
    if (!t || first < 0 || first >= colors || second < 0 || second >= colors || pattern < 0 || pattern > 2)
        return false;
    const auto mode = static_cast<Tding::Alternation>(pattern);
    if (mode == Tding::Alternation::None) second = first;
    bool differs = t->defaultColor() != first || t->alternation() != mode
        || (mode != Tding::Alternation::None && t->alternateColor() != second);
    for (int i = 0; i < n && !differs; ++i) {
        const int want = mode == Tding::Alternation::Single ? (i % 2 == 0 ? second : first)
            : mode == Tding::Alternation::Pairs             ? (i % 4 < 2 ? first : second)
                                                            : first;
        differs = t->GetColor(i) != want;
    }
    if (!differs) return false;
    DraftStep step(e, doc, DraftSnapshot::Structure);
    Tding* m = warp ? static_cast<Tding*>(doc.raw().threadingMutable(row)) : doc.raw().treadlingMutable(row);
    m->FillColors(first, second, mode, n);
    return step.commit();
}

bool ReplaceThreadColor(Edit e, CQuillabyDoc& doc, int from, int to, bool warp, bool weft)
{
    if (from == to || from < 0 || to < 0 || to >= doc.palette().count()) return false;
    auto uses = [&](const Tding& t, int n) {
        if (t.defaultColor() == from || t.alternateColor() == from) return true;
        for (int i = 0; i < n; ++i)
            if (t.GetColor(i) == from) return true;
        return false;
    };
    bool any = false;
    for (int r = 0; r < kMaxRows; ++r) {
        if (warp && doc.threading(r) && uses(*doc.threading(r), doc.numEnds())) any = true;
        if (weft && doc.treadling(r) && uses(*doc.treadling(r), doc.numPicks())) any = true;
    }
    if (!any) return false;
    DraftStep step(e, doc, DraftSnapshot::Structure);
    for (int r = 0; r < kMaxRows; ++r)
        for (Tding* t : {warp ? static_cast<Tding*>(doc.raw().threadingMutable(r)) : nullptr,
                         weft ? static_cast<Tding*>(doc.raw().treadlingMutable(r)) : nullptr}) {
            if (!t) continue;
            t->Recolor(from, to);
            if (t->alternateColor() == from) t->setAlternateColor(to);
        }
    return step.commit();
}

std::vector<ColorRun> ColorRuns(const Tding& seq, int count)
{
    std::vector<ColorRun> runs;
    for (int i = 0; i < count; ++i) {
        const int c = seq.GetColor(i);
        if (!runs.empty() && runs.back().color == c) ++runs.back().count;
        else runs.push_back({c, 1});
    }
    return runs;
}

std::vector<ColorRun> ColorTotals(const Tding& seq, int count)
{
    std::vector<ColorRun> totals;
    for (int i = 0; i < count; ++i) {
        const int c = seq.GetColor(i);
        auto it = std::find_if(totals.begin(), totals.end(), [c](const ColorRun& r) { return r.color == c; });
        if (it == totals.end()) totals.push_back({c, 1});
        else ++it->count;
    }
    return totals;
}

bool ColorsFit(const ColorPalette& palette, const std::vector<COLORREF>& colors)
{
    std::vector<COLORREF> missing;
    for (COLORREF c : colors) {
        c &= 0xFFFFFF;
        if (palette.find(c) < 0 && std::find(missing.begin(), missing.end(), c) == missing.end()) missing.push_back(c);
    }
    return palette.count() + static_cast<int>(missing.size()) <= kMaxColors;
}

} // namespace qb
