#pragma once

#include "core/draft/edit.h"
#include "core/draft/iprompter.h"
#include "core/draft/side.h"

#include <memory>
#include <string>

namespace qb {

class CQuillabyDoc;

// What a command did. Messages have already gone through IPrompter::tell;
// `message` repeats the text for callers that log it.
struct CommandResult {
    enum class Status {
        Done,     // the draft changed
        NoChange, // nothing to do (or a silent precondition failed)
        Refused,  // a message told the user why
        Declined, // the user answered No
    };
    Status status = Status::NoChange;
    std::string message;
    // The window should fit the draft anew. (What changed the views hear
    // from the document itself.)
    bool fitToWindow = false;

    bool done() const { return status == Status::Done; }
    static CommandResult doneResult(bool fit = false)
    {
        CommandResult r;
        r.status = Status::Done;
        r.fitToWindow = fit;
        return r;
    }
    static CommandResult doneAndFit() { return doneResult(true); }
    static CommandResult noChange() { return {}; }
    static CommandResult declined()
    {
        CommandResult r;
        r.status = Status::Declined;
        return r;
    }
    static CommandResult refused(IPrompter& p, std::string message)
    {
        p.tell(message);
        CommandResult r;
        r.status = Status::Refused;
        r.message = std::move(message);
        return r;
    }
};

// A command that builds a new draft for its own window.
struct NewDraftResult {
    CommandResult result;
    std::unique_ptr<CQuillabyDoc> draft; // null unless result.done()

    // A finished new draft: no history of its own, unsaved, laid out anew.
    static NewDraftResult made(std::unique_ptr<CQuillabyDoc> d);
};

} // namespace qb
