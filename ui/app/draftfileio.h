#pragma once

namespace qb {

// Lets the main window open and save drafts with the WIF reader and writer
// (.wif and .qlb); the reader's notes and questions become message boxes.
void InstallDraftFileIO();

} // namespace qb
