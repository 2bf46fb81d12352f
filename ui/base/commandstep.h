#pragma once

#include "core/transform/command.h"

#include <QString>

#include <functional>
#include <string>

namespace qb {

class CDraftWindow;
class IMainWindow;

// Runs a command on the draft of `w` as one named undo step (the name is
// what the Edit menu offers to undo), then brings its windows up to date:
// panes laid out anew when rows, sizes or the palette changed, the frame
// fitted when the command asks for it, the caption's modified mark.
CommandResult RunCommandStep(IMainWindow* main, CDraftWindow* w, const std::string& name,
                             const std::function<CommandResult(Edit)>& command);

// "File to Import From" (or `title`): an open dialog for a draft file in the
// folder last used for drafts, which then remembers the chosen file. Empty
// when cancelled. Tests replace the dialog with SetDraftFileChooser.
QString ChooseDraftFile(IMainWindow* main, const QString& title = QStringLiteral("File to Import From"));
using DraftFileChooser = std::function<QString(const QString& title)>;
void SetDraftFileChooser(DraftFileChooser chooser);

} // namespace qb
