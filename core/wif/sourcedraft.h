#pragma once

#include "core/wif/wifreader.h"
#include "core/wif/wifsections.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Another draft file read as the source of a command, without opening it as
// a document. The reader's own warnings are not shown; a file holding both a
// treadling and a liftplan gives the one `choice` names.
struct SourceDraft {
    std::unique_ptr<CQuillabyDoc> doc; // null when the file could not be read
    std::string failure;               // then the message the user sees
    std::array<bool, kWifSectionNames.size()> contents{};

    bool lists(WifSection s) const { return contents[static_cast<std::size_t>(s)]; }
};

// A file that cannot be read, or has no [WIF] "Version" (the version
// message), gives a null doc and the reason.
SourceDraft ReadSourceDraft(const std::string& path, LiftplanChoice choice);

// The files of a merge (interleave, overlay) in order; files that cannot be
// read as drafts are skipped silently.
std::vector<std::unique_ptr<CQuillabyDoc>> ReadMergeSources(const std::vector<std::string>& paths,
                                                            LiftplanChoice choice);

} // namespace qb
