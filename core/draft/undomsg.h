#pragma once

#include "core/draft/tuptype.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb {

struct DraftSnapshot;

// The part of the draft a cell-level request addresses. Whole parts (the
// structure, palette, texts, settings) come back through snapshots instead.
enum class DraftPart : std::uint8_t { Threading, Treadling, Tieup };

enum class UndoOp : std::uint8_t {
    Nothing,       // the missing side of a one-sided record; skipped
    InsertThreads, // count empty threads at pos, in every row of the side
    DeleteThreads, // count threads at pos, from every row of the side
    ClearCell,     // threading: end pos of row; treadling: treadle value at pick pos; tieup: shaft value of treadle pos
    SetCell,       // the same cells set (value 0 on the threading clears)
    SetSet,        // treadling: the whole pick pos of row; tieup: the whole column pos
    SetSymbol,     // thread pos of row gets character value
    SetThick,      // thread pos (row 0) thick when value != 0
    SetRatio,      // the side's thick-to-thin ratio
    SetDefaultColor, // row's default color
    SetColor,        // thread pos of row gets color value
    Label,           // label change of row (kind in label.change)
};

enum class LabelChange : std::uint8_t { Add, Remove, SetText, RemoveAll };

struct LabelPayload {
    LabelChange change = LabelChange::Add;
    int first = 0;
    int last = 0;
    std::string text;
};

// One replayable request: which part of the draft, which row and threads,
// and the value. Positions are 0-based thread or treadle indexes, values
// 1-based shafts or treadles.
struct UndoRequest {
    DraftPart part = DraftPart::Threading;
    UndoOp op = UndoOp::Nothing;
    int row = 0;
    int pos = 0;
    int count = 0;
    int value = 0;
    TreadleSet set;
    TUPTYPE shafts;
    LabelPayload label;
};

// One recorded step. Either a pair of requests (how to reverse the change and
// how to repeat it), or a snapshot of whole parts of the draft: undo and redo
// then both swap the snapshot with what the document holds, so one copy
// serves both directions.
struct UndoMsg {
    UndoRequest undo;
    UndoRequest redo;
    std::shared_ptr<DraftSnapshot> swap;
};

} // namespace qb
