#pragma once

#include <atomic>
#include <ostream>
#include <string>

namespace qb {

class CQuillabyDoc;

struct HeadlessWeaveOptions {
    std::string device;                             // the loom's serial device
    int headIndex = 5;                              // as stored in `DobbyHeadType`
    int shafts = 0;                                 // the head's shaft count; 0: the draft's (at most 40)
    int startPick = 0;                              // as shown (1-based); 0: where the draft's run stands
    int picks = 0;                                  // stop after weaving this many; 0: until interrupted
    const std::atomic<bool>* interrupted = nullptr; // set to stop cleanly (Ctrl+C)
    int continueFd = -1;                            // a line read here presses Continue after a time-out
};

// Weaves `doc` on the loom without windows: prints "pick P: shafts a,b,c" for
// every pick sent to the loom, ends with the head's release, and returns 0, or
// 1 with the message on `err` when the run could not start or the line failed.
// The draft's weaving position is left where the loom stopped.
int RunHeadlessWeave(CQuillabyDoc& doc, const HeadlessWeaveOptions& options, std::ostream& out, std::ostream& err);

} // namespace qb
