#pragma once

#include "core/transform/command.h"

#include <string>

namespace qb {

class CQuillabyDoc;

// Taking one component of another draft file into the open draft. The file
// is read without opening it as a document and without the reader's own
// warnings; an unreadable file, or one without a [WIF] "Version", is refused
// with its message. A file without the component changes nothing. Each import
// is one undo step through `e`.

// Threading "&Import...": the shaft count rises to the file's when that is
// higher; warp row j takes the shafts of the file's row j (for the rows both
// have), the draft's colors staying with their ends; the end count becomes
// the file's. Asks the color-bar guard for the warp.
CommandResult ImportThreading(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter);

// Treadling "&Import...": the picks in the draft's form (a treadling goes
// through the file's tieup into a liftplan draft; a liftplan's shafts become
// treadles of a tieup-form draft, with Multiple Treadles on), the treadle
// count raised to the file's; the pick count becomes the file's. Asks the
// color-bar guard for the weft.
CommandResult ImportTreadling(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter);

// Tieup "&Import...": the shaft and treadle counts rise to the file's when
// those are higher, then the file's tieup replaces the draft's.
CommandResult ImportTieup(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& prompter);

// "&Warp Colorway..." (Side::Threading) and "We&ft Colorway..."
// (Side::Treadling): the file's palette replaces the draft's as "&Color
// Palette..." does, then the threads both drafts have, in the rows both
// have, take the file's colors. Needs WEAVING in the file's CONTENTS.
CommandResult ImportColorway(Edit e, CQuillabyDoc& doc, Side side, const std::string& path, IPrompter& prompter);

} // namespace qb
