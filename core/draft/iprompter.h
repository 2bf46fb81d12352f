#pragma once

#include <string>

namespace qb {

// How the core talks to the user: Yes/No questions and messages. The editor
// shows message boxes, the command-line tool prints to stderr and answers
// as its --yes flag says, tests script the answers.
class IPrompter {
public:
    virtual ~IPrompter() = default;
    // A Yes/No question; true for Yes.
    virtual bool ask(const std::string& question) = 0;
    // A message the user must see.
    virtual void tell(const std::string& message) = 0;
};

// Answers every question the same way and keeps what it was told.
class FixedPrompter : public IPrompter {
public:
    explicit FixedPrompter(bool answer = true) : m_answer(answer) {}
    bool ask(const std::string& question) override
    {
        lastQuestion = question;
        ++questions;
        return m_answer;
    }
    void tell(const std::string& message) override { lastMessage = message; }
    std::string lastQuestion;
    std::string lastMessage;
    int questions = 0;

private:
    bool m_answer;
};

// Says nothing and answers No: for previews and batch work.
class QuietPrompter final : public IPrompter {
public:
    bool ask(const std::string&) override { return false; }
    void tell(const std::string&) override {}
};

} // namespace qb
