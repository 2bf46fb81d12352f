#pragma once

#include "core/draft/undomsg.h"

namespace qb {

class CQuillabyDoc;

// Builders for the requests a primitive records; the primitive names the
// part of the draft. Positions are thread or treadle indexes, values 1-based
// shafts or treadles (0 = none), rows 0-based.
namespace req {

UndoRequest nothing();
UndoRequest insertThreads(int pos, int n);
UndoRequest deleteThreads(int pos, int n);
UndoRequest clearCell(int row, int pos, int value);
UndoRequest setCell(int row, int pos, int value);
UndoRequest setSymbol(int row, int pos, int symbol);
UndoRequest setThick(int pos, bool thick);
UndoRequest setRatio(int ratio);
UndoRequest setDefaultColor(int row, int color);
UndoRequest setColor(int row, int pos, int color);
UndoRequest label(int row, LabelChange kind, int first, int last, const std::string& text);
UndoRequest setPick(int row, int pick, TreadleSet set);
UndoRequest setTieupColumn(int treadle, TUPTYPE shafts);

} // namespace req

// Replays a recorded request on the document through its primitives,
// recording nothing.
void ApplyUndoRequest(CQuillabyDoc& doc, const UndoRequest& req);
// Replays a whole record in one direction: its request, or the swap of its
// snapshot with the document's state.
void ApplyUndoMsg(CQuillabyDoc& doc, UndoMsg& msg, bool undo);

} // namespace qb
