#pragma once

#include "ui/filecommands/propertiessheet.h"

class QMenu;

namespace qb {

class CDraftWindow;
class CMainFrame;

// The File menu's commands on the active draft: "C&lone", "P&roperties...",
// "No&tes..." and the imports from another draft file.
void AddDraftFileCommands(CMainFrame* frame, QMenu* file);

// "C&lone": an exact copy of the draft in a new untitled window, unsaved.
CDraftWindow* CloneDraft(CMainFrame* frame, CDraftWindow* w);

// Shows the properties sheet on `w` and applies it on OK.
void ShowPropertiesSheet(CMainFrame* frame, CDraftWindow* w, CPropertiesSheet::Page page);
// What OK does with the sheet's values and texts; false when nothing changed.
bool ApplyPropertiesSheet(CMainFrame* frame, CDraftWindow* w, const DraftProperties& values, const DraftTexts& texts);

// The two imports with a chosen file (their menu commands ask for it with
// "File to Import From"); false when nothing changed.
bool ImportPaletteFrom(CMainFrame* frame, CDraftWindow* w, const QString& path);
bool ImportProjectPlanFrom(CMainFrame* frame, CDraftWindow* w, const QString& path);

} // namespace qb
