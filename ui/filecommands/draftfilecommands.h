#pragma once

#include "ui/filecommands/propertiessheet.h"

class QMenu;

namespace qb {

class CDraftWindow;
class IMainWindow;

// The File menu's commands on the active draft: "C&lone", "P&roperties...",
// "No&tes..." and the Import submenu (registered as MenuId::FileImport) with
// the palette of another draft file.
void AddDraftFileCommands(IMainWindow* main);

// "C&lone": an exact copy of the draft in a new untitled window, unsaved.
CDraftWindow* CloneDraft(IMainWindow* main, CDraftWindow* w);

// Shows the properties sheet on `w` and applies it on OK.
void ShowPropertiesSheet(IMainWindow* main, CDraftWindow* w, CPropertiesSheet::Page page);
// What OK does with the sheet's values and texts; false when nothing changed.
bool ApplyPropertiesSheet(IMainWindow* main, CDraftWindow* w, const DraftProperties& values, const DraftTexts& texts);

// The palette import with a chosen file (its menu command asks for it with
// "File to Import From"); false when nothing changed.
bool ImportPaletteFrom(IMainWindow* main, CDraftWindow* w, const QString& path);

} // namespace qb
