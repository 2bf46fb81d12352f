#pragma once

#include "core/transform/command.h"

#include <vector>

namespace qb {

class CQuillabyDoc;

// "&Clear": every label of the first row and every thread of the side.
CommandResult ClearThreads(Edit e, CQuillabyDoc& doc, Side side);
// "Clear La&bels": every label of the first row; layoutChanged when the
// label rows in use changed. Recorded label by label.
CommandResult ClearLabels(Edit e, CQuillabyDoc& doc, Side side);

// The Remove pattern: true = keep, false = delete; at most 16 entries.
inline constexpr int kMaxRemovePattern = 16;
// The Remove pattern as the dialog's strip edits it (shared by both Remove
// dialogs, kept until the program ends). Cells past 16 are ignored.
class RemovePattern {
public:
    // Left click: a cell beyond the pattern extends it up to that cell with
    // `delete` entries; an existing cell toggles between keep and delete.
    void click(int cell);
    // Right click: the entries from that cell on are removed.
    void truncate(int cell);
    const std::vector<bool>& keep() const { return m_keep; }

private:
    std::vector<bool> m_keep;
};

// "R&emove...": walks the threads in blocks of the pattern's length and drops
// those whose entry is `delete`. Labels shrink with the threads they cover.
CommandResult RemoveByPattern(Edit e, CQuillabyDoc& doc, Side side, const std::vector<bool>& keep);

// "Tromp as &Writ" (mirror = false) and "Mirr&or Threading" (mirror = true):
// the treadling follows the first threading, one pick per end; pick colors
// stay. Every weft row takes the new length.
CommandResult TrompAsWrit(Edit e, CQuillabyDoc& doc, bool mirror, IPrompter& prompter);

// "&Use Weft Colors" (toWarp = true: end i takes the color of pick i) and
// "&Use Warp Colors" (pick i takes the color of end i).
CommandResult UseOtherColors(Edit e, CQuillabyDoc& doc, bool toWarp);

} // namespace qb
