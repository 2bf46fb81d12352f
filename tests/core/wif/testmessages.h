#pragma once

#include "core/draft/iprompter.h"

#include <string>
#include <vector>

// Records what the reader tells and asks; answers questions from a script.
class RecordingMessages final : public qb::IPrompter {
public:
    explicit RecordingMessages(bool answer = false) : m_answer(answer) {}
    void tell(const std::string& text) override { told.push_back(text); }
    bool ask(const std::string& question) override
    {
        asked.push_back(question);
        return m_answer;
    }
    std::vector<std::string> told;
    std::vector<std::string> asked;

private:
    bool m_answer;
};

inline std::string testData(const std::string& name)
{
    return std::string(QUILLABY_TEST_DATA) + "/" + name;
}
