#pragma once

// Small drafts built in code for the picture tests.
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/draft/threadlayout.h"
#include "core/graphic/drawdownimage.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace qbtest {

inline constexpr qb::COLORREF kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

inline std::unique_ptr<qb::CQuillabyDoc> newDraft(int shafts, int treadles, bool rising = true)
{
    auto doc = std::make_unique<qb::CQuillabyDoc>();
    qb::NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.risingShed = rising;
    d.defaultColors = {kRed, kBlue, kGreen}; // palette: white, red, blue, green
    doc->OnNewDocument(d);
    return doc;
}

// Plain weave, `n` ends and picks: warp red, weft blue.
using qb::kUnrecorded;
using qb::Side;

inline std::unique_ptr<qb::CQuillabyDoc> plainWeave(int n, bool rising = true)
{
    auto doc = newDraft(2, 2, rising);
    for (int e = 0; e < n; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 2);
    for (int p = 0; p < n; ++p) doc->SetTreadlingCell(kUnrecorded, p, 1 + p % 2);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 0, n - 1, 1);
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, n - 1, 2);
    return doc;
}

// A random draft with unthreaded ends, empty picks and several colors.
inline std::unique_ptr<qb::CQuillabyDoc> randomDraft(int ends, int picks, unsigned seed, bool rising = true)
{
    auto doc = newDraft(8, 8, rising);
    std::mt19937 rng(seed);
    qb::Threading* th = doc->raw().threadingMutable(0);
    th->Append(ends);
    for (int e = 0; e < ends; ++e) {
        const int s = int(rng() % 9); // 0: unthreaded
        if (s) th->SetValue(e, s);
        th->SetColor(e, 1 + int(rng() % 3));
    }
    for (int t = 0; t < 8; ++t) doc->raw().tieupMutable().setColumn(t, qb::TUPTYPE(rng() & 0xFF));
    qb::Treadling* tr = doc->raw().treadlingMutable(0);
    tr->Append(picks);
    for (int p = 0; p < picks; ++p) {
        const int t = int(rng() % 9); // 0: nothing pressed
        if (t) tr->SetValue(p, t);
        tr->SetColor(p, int(rng() % 4));
    }
    return doc;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

inline qb::DrawdownStyle cells(int w, int h = -1)
{
    qb::DrawdownStyle s;
    s.cellWidth = w;
    s.cellHeight = h < 0 ? w : h;
    return s;
}

// The region (x0, y0, w, h) of the drawdown picture; w or h < 0: the whole width or height.
inline Picture render(const qb::CQuillabyDoc& doc, const qb::DrawdownStyle& style, int x0 = 0, int y0 = 0, int w = -1,
                      int h = -1)
{
    qb::DrawdownRows rows(doc, style.back);
    const qb::ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const qb::ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    Picture pic;
    pic.width = w >= 0 ? w : ends.totalCells() * style.cellWidth;
    pic.height = h >= 0 ? h : picks.totalCells() * style.cellHeight;
    pic.px.assign(static_cast<std::size_t>(pic.width) * pic.height, 0x12345678);
    qb::RenderDrawdown(doc, rows, style, ends, picks, x0, y0, {pic.px.data(), pic.width, pic.height, pic.width});
    return pic;
}

} // namespace qbtest
