#pragma once

#include "tuptype.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb {

class IUndoTarget;
struct DraftSnapshot;

// The requests the history sends to the pane that caused an edit. The
// numbers are a private protocol between the document and its panes.
enum UndoRequestMsg : std::uint32_t {
    kReqInsertThreads = 4005,
    kReqDeleteThreads = 4006,
    kReqClearCell = 4007,
    kReqSetCell = 4008,
    kReqNothing = 4009,
    kReqSetSymbol = 4012,
    kReqSetThick = 4013,        // thick flag: p1 flag, p2 position << 16
    kReqSetDefaultColor = 4014, // row default color: p1 color, p2 row
    kReqLabel = 4020,
    kReqSetColor = 4025,
    kReqReplaceColor = 4030,
    kReqSetSet = 4036,
    kReqRestoreDraft = 4040,    // whole draft: payload snapshot
};

// The part of the draft a request addresses.
enum class DraftPart : std::uint8_t { Threading, Treadling, Tieup };

enum class LabelChange : std::uint32_t { Add = 0, Remove = 1, SetText = 2, RemoveAll = 3 };

struct LabelPayload {
    int first = 0;
    int last = 0;
    std::string text;
};

// One request with its payload. Where the request needs a set or a label it
// reads them from here, never from an address packed into a parameter.
struct UndoRequest {
    DraftPart part = DraftPart::Threading;
    std::uint32_t msg = kReqNothing;
    std::uint32_t p1 = 0;
    std::uint32_t p2 = 0;
    TreadleSet set;
    TUPTYPE shafts;
    LabelPayload label;
    std::shared_ptr<const DraftSnapshot> snapshot;

    static std::uint32_t pack(int high, int low)
    {
        return (std::uint32_t(high) << 16) | (std::uint32_t(low) & 0xFFFF);
    }
    int high16() const { return int(p2 >> 16); }
    int low16() const { return int(p2 & 0xFFFF); }
};

// One recorded step: how to reverse it and how to repeat it.
struct UndoMsg {
    IUndoTarget* target = nullptr;
    UndoRequest undo;
    UndoRequest redo;
};

// What a request is addressed to: a grid pane. Panes of the same kind can
// stand in for each other when one closes.
class IUndoTarget {
public:
    enum class Kind { Threading, Treadling, Tieup, Drawdown };
    virtual ~IUndoTarget() = default;
    virtual Kind undoKind() const = 0;
    // Replays the request through the document primitives, recording nothing.
    // A pane may receive requests for other parts of the draft when one of its
    // actions changed them too (the drawdown pane edits all three).
    virtual void handleUndoRequest(const UndoRequest& req) = 0;
};

} // namespace qb
