#pragma once

namespace qb {

class CMainFrame;

// Puts every feature's menus, bars and docks into the main window: the one
// place that knows them all. Features append to the menus they share, so
// the order here is the order of their items within each menu.
void InstallFeatures(CMainFrame& frame);

} // namespace qb
