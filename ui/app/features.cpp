#include "ui/app/features.h"

#include "ui/app/mainframe.h"
#include "ui/app/mainmenus.h"
#include "ui/browser/draftbrowser.h"
#include "ui/colors/palettebar.h"
#include "ui/combine/combinecommands.h"
#include "ui/drawing/toolsmenu.h"
#include "ui/filecommands/draftfilecommands.h"
#include "ui/floats/floatsearchdialog.h"
#include "ui/heddles/heddlewindow.h"
#include "ui/loom/dobbycontroller.h"
#include "ui/pictures/picturecommands.h"
#include "ui/print/printcommands.h"
#include "ui/profile/profilecommands.h"
#include "ui/wholedraft/wholedraftcommands.h"
#include "ui/yarn/yarncommands.h"

namespace qb {

void InstallFeatures(CMainFrame& frame)
{
    CMainMenus& menus = frame.menus();
    // File: New and Open..., the other ways to open, the rest of the shell's items.
    menus.addOpenItems();
    AddPictureCommands(&frame);
    menus.addSaveItems();
    // File: Clone, Properties, Notes, Import (with the palette, then the
    // plan), the commands that read or write data files, then printing.
    AddDraftFileCommands(&frame);
    AddToolMenus(&frame);
    AddColorMenus(&frame);
    frame.dobby()->fillMenu(frame.menu(MenuId::Dobby));
    // Threading, Treadling, Tieup, Drawdown; Tools after Options in this order.
    AddWholeDraftMenus(&frame);
    AddYarnMenus(&frame);
    AddCombineMenus(&frame);
    AddHeddleMenus(&frame);
    AddFloatSearchMenu(&frame);
    AddProfileMenus(&frame);
    AddPrintCommands(&frame);
    AddBrowserCommand(&frame);
    menus.addClosingItems();
}

} // namespace qb
