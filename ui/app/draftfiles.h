#pragma once

#include "wif/filemessages.h"

namespace qb {

class CMainFrame;

// The reader's and writer's messages and questions, shown by the main window.
class CFrameFileMessages final : public IFileMessages {
public:
    explicit CFrameFileMessages(CMainFrame* frame) : m_frame(frame) {}
    void tell(const std::string& text) override;
    bool ask(const std::string& question) override;
    // Whether a message has been shown.
    bool told() const { return m_told; }

private:
    CMainFrame* m_frame;
    bool m_told = false;
};

// Connects File Open and Save of the main window to the draft file reader and
// writer (.wif and .qlb alike).
void InstallDraftFileHandlers();

} // namespace qb
