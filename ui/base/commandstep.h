#pragma once

#include "core/transform/command.h"

#include <QString>

#include <functional>
#include <string>

namespace qb {

class CQuillabyDoc;
class IMainWindow;

// Runs a command on `doc` as one named undo step (the name is what the Edit
// menu offers to undo), then lets the main window bring the draft's windows
// up to date.
CommandResult RunCommandStep(IMainWindow* main, CQuillabyDoc& doc, const std::string& name,
                             const std::function<CommandResult(Edit)>& command);

// "File to Import From" (or `title`): an open dialog for a draft file in the
// folder last used for drafts, which then remembers the chosen file. Empty
// when cancelled. Tests replace the dialog with SetDraftFileChooser.
QString ChooseDraftFile(IMainWindow* main, const QString& title = QStringLiteral("File to Import From"));
using DraftFileChooser = std::function<QString(const QString& title)>;
void SetDraftFileChooser(DraftFileChooser chooser);

} // namespace qb
