#pragma once

#include "core/draft/quillabydoc.h"
#include "core/draft/threading.h"
#include "core/draft/treadling.h"
#include "core/transform/command.h"

#include <memory>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Thread values as plain ints for the generic helpers below: a shaft, or
// the first treadle of a pick.
inline void copyValue(const Threading& src, int i, Threading& dst, int j)
{
    dst.SetValue(j, src.GetShaft(i));
}
inline void copyValue(const Treadling& src, int i, Treadling& dst, int j)
{
    dst.SetSet(j, src.GetSet(i));
}

// Copies thread i of src onto the existing thread j of dst, every attribute
// (value, color, symbol, thick flag). The row's default color is not touched.
template <class T> void CopyThread(const T& src, int i, T& dst, int j)
{
    const int keepDefault = dst.defaultColor();
    copyValue(src, i, dst, j);
    dst.SetColor(j, src.GetColor(i));
    dst.setDefaultColor(keepDefault);
    dst.SetSymbol(j, src.GetSymbol(i));
    dst.SetThick(j, src.GetThick(i) != 0);
}

// A sequence made of src's threads at the given indexes, in order, with
// src's colors, ratio and row settings; no labels.
template <class T> std::unique_ptr<T> Gather(const T& src, const std::vector<int>& indexes)
{
    auto out = std::make_unique<T>(src);
    if (out->GetCount() > 0) out->Delete(0, out->GetCount());
    out->ClearLabels();
    out->Append(static_cast<int>(indexes.size()));
    for (int j = 0; j < static_cast<int>(indexes.size()); ++j) CopyThread(src, indexes[j], *out, j);
    return out;
}

// Adds src's labels to dst where they still lie within dst's threads.
void CopyLabelsThatFit(const Tding& src, Tding& dst);

// A permutation of shafts or treadles: map[old - 1] = new - 1.
using Renumbering = std::vector<int>;
Renumbering IdentityRenumbering(int n);
// The rotation that moves position a to b, shifting those between by one.
void ComposeRotation(Renumbering& map, int a, int b);

// Renumbers shafts in every warp row and the tieup's shaft rows (and the
// liftplan rows in liftplan form, so the cloth stays the same).
void RenumberShafts(CQuillabyDoc& doc, const Renumbering& map);
// Renumbers treadles in every weft row and the tieup's columns.
void RenumberTreadles(CQuillabyDoc& doc, const Renumbering& map);
// Treadle sets through a renumbering of the first map.size() treadles.
TreadleSet RenumberSet(TreadleSet set, const Renumbering& map);

// Highest shaft used by any end of any warp row; highest treadle used by any
// pick of any weft row (0 when none).
int FindUsedShafts(const CQuillabyDoc& doc);
int FindUsedTreadles(const CQuillabyDoc& doc);

// Calls f(row, index) for every row of the side, as Threading& or Treadling&.
template <class F> void ForEachRow(CQuillabyDoc& doc, Side side, F&& f)
{
    if (side == Side::Threading)
        for (int r = 0; r < doc.numWarps(); ++r) f(*doc.raw().threadingMutable(r), r);
    else
        for (int r = 0; r < doc.numWefts(); ++r) f(*doc.raw().treadlingMutable(r), r);
}

inline void ReplaceRow(CQuillabyDoc& doc, int r, std::unique_ptr<Threading> t)
{
    doc.raw().replaceThreading(r, std::move(t));
}
inline void ReplaceRow(CQuillabyDoc& doc, int r, std::unique_ptr<Treadling> t)
{
    doc.raw().replaceTreadling(r, std::move(t));
}

inline int ThreadCount(const CQuillabyDoc& doc, Side side)
{
    return side == Side::Threading ? doc.numEnds() : doc.numPicks();
}

} // namespace qb
