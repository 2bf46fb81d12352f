#include "cli/draftload.h"

#include "core/draft/iprompter.h"
#include "core/wif/wifreader.h"

#include <iostream>

namespace {

class StderrMessages final : public qb::IPrompter {
public:
    void tell(const std::string& text) override { std::cerr << "quillaby-cli: " << text << '\n'; }
    bool ask(const std::string& question) override
    {
        std::cerr << "quillaby-cli: " << question << " (answered No)\n";
        return false;
    }
};

} // namespace

bool LoadDraftForCli(const std::string& path, qb::CQuillabyDoc& doc, bool liftplan)
{
    StderrMessages messages;
    qb::WifReadOptions options;
    options.liftplan = liftplan ? qb::LiftplanChoice::Liftplan : qb::LiftplanChoice::Treadling;
    std::string error;
    if (!qb::ReadWifFile(path, doc, messages, options, &error)) {
        std::cerr << "quillaby-cli: cannot read " << path << ": " << error << '\n';
        return false;
    }
    return true;
}
