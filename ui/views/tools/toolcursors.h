#pragma once

namespace qb {

class CGridView;

// Gives the pane's viewport the cursor of the current tool.
void UpdateToolCursor(CGridView* pane);

} // namespace qb
