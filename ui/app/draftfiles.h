#pragma once



namespace qb {

class CMainFrame;

// The reader's and writer's messages and questions, shown by the main window.
// Connects File Open and Save of the main window to the draft file reader and
// writer (.wif and .qlb alike).
void InstallDraftFileHandlers();

} // namespace qb
