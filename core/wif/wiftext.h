#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// Fills the first "%s" or "%d" of a message text.
std::string FormatMessage(std::string_view format, std::string_view value);

// Word-wraps one line of text: words (separated by blanks) gather on a line
// while the running length (each word plus one) stays below 60. A word too
// long for any line stands alone on its own line.
std::vector<std::string> WrapWords(std::string_view line);

// Every "//" becomes CR LF, except the "//" of a URL (right after ':'), which
// the file format cannot tell from a line break otherwise.
std::string SlashesToLineBreaks(std::string_view text);

// Splits at every CR LF pair.
std::vector<std::string_view> SplitCrLf(std::string_view text);

} // namespace qb
