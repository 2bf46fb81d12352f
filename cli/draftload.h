#pragma once

#include <string>

namespace qb {
class CQuillabyDoc;
}

// Reads a draft file for a command; the reader's messages go to stderr and its
// questions are answered No. With `liftplan` a file holding both a treadling
// and a liftplan loads the liftplan. On failure the reason is on stderr.
bool LoadDraftForCli(const std::string& path, qb::CQuillabyDoc& doc, bool liftplan);
