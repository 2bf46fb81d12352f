#include "core/transform/commandargs.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/sourcedraft.h"
#include "core/wif/wifreader.h"

#include <charconv>

namespace qb {

bool ParseNumberArg(std::string_view s, int lo, int hi, int& out)
{
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseColorArg(std::string_view s, COLORREF& out)
{
    if (s.size() != 6) return false;
    unsigned v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || p != s.data() + s.size()) return false;
    out = rgb(int(v >> 16), int(v >> 8), int(v));
    return true;
}

bool KeyValueArg(std::string_view word, std::string_view key, std::string& value)
{
    if (word.size() <= key.size() || word.substr(0, key.size()) != key || word[key.size()] != '=') return false;
    value = std::string(word.substr(key.size() + 1));
    return true;
}

int ParsedOptions::valueOr(const std::string& name, int fallback) const
{
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

bool ParseOptionArgs(const CommandArgs& args, std::initializer_list<OptionRule> known, ParsedOptions& out,
                     std::string& problem)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.positional.push_back(a);
            continue;
        }
        const OptionRule* rule = nullptr;
        for (const OptionRule& r : known)
            if (a == r.name) rule = &r;
        if (!rule) {
            problem = "unknown option '" + a + "'";
            return false;
        }
        int v = 1;
        if (rule->takesValue && (i + 1 >= args.size() || !ParseNumberArg(args[++i], rule->lo, rule->hi, v))) {
            problem = a + " needs a number " + std::to_string(rule->lo) + ".." + std::to_string(rule->hi);
            return false;
        }
        out.values[a] = v;
    }
    return true;
}

CommandOutcome RefuseArgs(IPrompter& prompter, const char* command, const std::string& problem)
{
    return CommandOutcome::refused(prompter, std::string(command) + ": " + problem);
}

CommandOutcome BadArgs(IPrompter& prompter, const char* command, const std::string& problem)
{
    return CommandOutcome::refused(prompter, std::string(command) + ": " + problem,
                                   CommandOutcome::Problem::BadArguments);
}

bool ReadSourceDrafts(const std::vector<std::string>& paths, const CQuillabyDoc& doc, IPrompter& prompter,
                      std::vector<std::unique_ptr<CQuillabyDoc>>& out)
{
    const LiftplanChoice form = doc.isLiftplan() ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
    for (const std::string& path : paths) {
        SourceDraft s = ReadSourceDraft(path, form);
        if (!s.doc) {
            prompter.tell("cannot read " + path + ": " + s.failure);
            return false;
        }
        out.push_back(std::move(s.doc));
    }
    return true;
}

std::unique_ptr<CQuillabyDoc> ReadStructureDraft(const std::string& path, IPrompter& prompter)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    WifReadOptions options;
    options.liftplan = LiftplanChoice::Treadling;
    std::string error;
    if (!ReadWifFile(path, *doc, prompter, options, &error)) {
        prompter.tell("cannot read " + path + ": " + error);
        return nullptr;
    }
    return doc;
}

CommandOutcome UnreadableFile()
{
    CommandOutcome out;
    out.result.status = CommandResult::Status::Refused;
    out.problem = CommandOutcome::Problem::UnreadableFile;
    return out;
}

} // namespace qb
