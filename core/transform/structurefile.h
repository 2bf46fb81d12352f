#pragma once

#include "core/transform/command.h"

#include <memory>
#include <string>

namespace qb {

class CQuillabyDoc;

// What a weave-structure file is opened for: the heading of its messages.
enum class StructureUse { Substitution, Plot };

// Opens a weave-structure file without showing it. A file that cannot be
// read, or that is not marked "De&fines Structure", is reported through the
// prompter under the command's heading and gives null.
std::unique_ptr<CQuillabyDoc> OpenWeaveStructure(const std::string& path, StructureUse use, IPrompter& prompter);

// The message for a draft that does not define a structure.
std::string NotAStructureMessage(const std::string& path, StructureUse use);

} // namespace qb
