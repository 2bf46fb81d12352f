#pragma once

#include "core/draft/iprompter.h"

namespace qb {

class IMainWindow;

// The core's questions and messages go through the main window, so they look
// like every other message and tests can answer them. A wait cursor is put
// aside while the weaver reads.
class CUiPrompter final : public IPrompter {
public:
    explicit CUiPrompter(IMainWindow* main) : m_main(main) {}
    bool ask(const std::string& question) override;
    void tell(const std::string& message) override;
    // Whether a message has been shown.
    bool told() const { return m_told; }

private:
    IMainWindow* m_main;
    bool m_told = false;
};

} // namespace qb
