#pragma once

// The command table's argument lists for the choices the editor's dialogs
// make, so that a menu command runs the same entry the command line does.
#include "core/transform/addtabby.h"
#include "core/transform/arrange.h"
#include "core/transform/commandtable.h"
#include "core/transform/doublewidth.h"
#include "core/transform/interleave.h"
#include "core/transform/networksettings.h"

#include <string>
#include <vector>

namespace qb {

// Repeat...: `times` 2..100, or a single repeat.
CommandArgs RepeatArgs(bool single, int times);
CommandArgs ArrangeArgs(ArrangeKind kind);
// Remove...: the strip, true = keep.
CommandArgs RemoveArgs(const std::vector<bool>& keep);
CommandArgs MultipleTreadlesArgs(bool on);
CommandArgs AddTabbyArgs(const AddTabbyOptions& o);
// Load Liftplan: `flip` is the FlipOnPasteLiftplan setting.
CommandArgs LoadLiftplanArgs(const std::string& picture, bool flip);
CommandArgs DoubleWidthArgs(const DoubleWidthOptions& o);
CommandArgs EchoArgs(const EchoSettings& e);
// Expand... and Ribbon Template...: the one number.
CommandArgs NumberArgs(int n);
// Scale Pattern Line... and Plot onto Network... (the structure is
// s.structurePath).
CommandArgs ScaleLineArgs(const NetworkSettings& s);
CommandArgs NetworkArgs(const NetworkSettings& s);

} // namespace qb
