#pragma once

#include "transform/command.h"

namespace qb {

class CMainFrame;

// Questions and messages of the whole-draft commands go through the main
// window, so they look like every other message and tests can answer them.
class CUiPrompter : public IPrompter {
public:
    explicit CUiPrompter(CMainFrame& main) : m_main(main) {}
    bool ask(const std::string& question) override;
    void tell(const std::string& message) override;

private:
    CMainFrame& m_main;
};

} // namespace qb
