#pragma once

// Reading the arguments of the command table's entries.
#include "core/draft/colorpalette.h"
#include "core/transform/commandtable.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class CQuillabyDoc;

// A whole number lo..hi and nothing else.
bool ParseNumberArg(std::string_view s, int lo, int hi, int& out);
// "RRGGBB" in hex, as a color.
bool ParseColorArg(std::string_view s, COLORREF& out);
// The text after "key=" when `word` starts with it.
bool KeyValueArg(std::string_view word, std::string_view key, std::string& value);

// "--name" options, with a number lo..hi after those that take a value;
// other words are positional.
struct OptionRule {
    const char* name;
    bool takesValue;
    int lo;
    int hi;
};
struct ParsedOptions {
    std::vector<std::string> positional;
    std::map<std::string, int> values; // flags read as 1

    bool has(const std::string& name) const { return values.count(name) != 0; }
    int valueOr(const std::string& name, int fallback) const;
};
// False with the reason in `problem` for an unknown option or a bad value.
bool ParseOptionArgs(const CommandArgs& args, std::initializer_list<OptionRule> known, ParsedOptions& out,
                     std::string& problem);

// The arguments' refusals, named after the command as the command line
// knows it: "repeat-threading: N must be 2..100".
CommandOutcome RefuseArgs(IPrompter& prompter, const char* command, const std::string& problem);
CommandOutcome BadArgs(IPrompter& prompter, const char* command, const std::string& problem);

// Other draft files an argument names, read in the form of `doc`; the first
// that cannot be read is told ("cannot read PATH: why") and gives false.
bool ReadSourceDrafts(const std::vector<std::string>& paths, const CQuillabyDoc& doc, IPrompter& prompter,
                      std::vector<std::unique_ptr<CQuillabyDoc>>& out);
// A weave-structure draft file, read in tieup form; null (told) when it cannot
// be read. Whether it defines a structure is the command's to check.
std::unique_ptr<CQuillabyDoc> ReadStructureDraft(const std::string& path, IPrompter& prompter);
// The outcome of a file that could not be read (already told).
CommandOutcome UnreadableFile();

} // namespace qb
