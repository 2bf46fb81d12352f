#pragma once

#include "undomsg.h"

namespace qb {

// Builders for the requests of the undo protocol. Positions are thread
// indexes, values 1-based shafts or treadles (0 = none), rows 0-based.
// Counts and pick indexes use the low 16 bits and rows bits 16..19, so every
// position up to 32767 fits.
namespace req {

UndoRequest nothing();
UndoRequest insertThreads(int pos, int n, int value, int row);
UndoRequest deleteThreads(int pos, int n);
UndoRequest clearCell(int row, int pos, int value);
UndoRequest setCell(int row, int pos, int value);
UndoRequest setSymbol(int pos, int symbol, int row);
UndoRequest setThick(int pos, bool thick);
UndoRequest setDefaultColor(int row, int color);
UndoRequest label(LabelChange kind, int first, int last, const std::string& text);
UndoRequest setColor(bool warp, int pos, int row, int color);
UndoRequest setPick(int pick, int row, TreadleSet set);
UndoRequest setTieupColumn(int treadle, TUPTYPE shafts);
UndoRequest restoreDraft(std::shared_ptr<const DraftSnapshot> snapshot);

inline int rowOf(std::uint32_t p1) { return int((p1 >> 16) & 0xF); }
inline int lowOf(std::uint32_t p1) { return int(p1 & 0xFFFF); }
inline int valueOf(int low16) { return low16 == 0xFFFF ? 0 : low16 + 1; }

} // namespace req
} // namespace qb
