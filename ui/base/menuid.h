#pragma once

namespace qb {

// The main window's menus, as features ask for them. The bar shows the
// top-level ones in this order whatever order features are installed in.
enum class MenuId {
    File,
    Edit,
    View,
    Draw,
    Color,
    Threading,
    Treadling,
    Tieup,
    Drawdown,
    Tools,
    Dobby,
    Window,
    Help,
    // Submenus a feature creates and others add to.
    FileImport, // File > Import
};

} // namespace qb
