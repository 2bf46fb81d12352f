#pragma once

#include <string>

namespace qb {

// How the draft reader and writer talk to the user. The editor shows message
// boxes; the command-line tool prints to stderr; tests record the texts.
class IFileMessages {
public:
    virtual ~IFileMessages() = default;
    // A message the user reads and acknowledges.
    virtual void tell(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const std::string& question) = 0;
};

// Says nothing and answers No: for previews and batch work.
class QuietFileMessages final : public IFileMessages {
public:
    void tell(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
};

} // namespace qb
