#pragma once

class QMenuBar;

namespace qb {

class IMainWindow;

// The Draw menu and the tool bar: the eleven editing tools, the line kinds
// with the advancing line's length and offset (kept in the stored settings).
void AddToolMenus(IMainWindow* main);

} // namespace qb
