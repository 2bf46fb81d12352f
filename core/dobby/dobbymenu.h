#pragma once

#include <vector>

namespace qb {

// The Dobby menu's items in menu order.
enum class DobbyMenuItem {
    Start,
    SetPick,
    SameShed,
    Unweave,
    Reverse,
    Loop,
    Markers,
    RepeatCount,
    Settings,
    SelfTest,
    Stop,
};

struct DobbyMenuItemState {
    bool enabled = false;
    bool checked = false;
};

// What the menu shows for the active draft.
struct DobbyMenuContext {
    bool draftHasRun = false; // the active draft is being woven
    bool anyRun = false;      // some draft is being woven
    bool unweave = false;
    bool reverse = false;
    bool loop = false;
    int headIndex = 5; // the stored head type
};

DobbyMenuItemState DobbyMenuState(DobbyMenuItem item, const DobbyMenuContext& c);

// The stored serial port number checked against the ports that exist: a number
// not in the list (or any when the list is empty) becomes -1, then a negative
// one becomes the first listed port; 0 stays.
int CheckedSerialPortNum(int stored, const std::vector<int>& listed);

} // namespace qb
