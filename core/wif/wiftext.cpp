#include "core/wif/wiftext.h"

namespace qb {

std::string FormatMessage(std::string_view format, std::string_view value)
{
    std::string out(format);
    std::size_t at = out.find("%s");
    if (at == std::string::npos) at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, value);
    return out;
}

std::vector<std::string> WrapWords(std::string_view line)
{
    constexpr std::size_t kWidth = 60;
    std::vector<std::string> lines;
    std::string current;
    std::size_t running = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') ++pos;
        std::size_t end = pos;
        while (end < line.size() && line[end] != ' ') ++end;
        if (end == pos) break;
        const std::string_view word = line.substr(pos, end - pos);
        pos = end;
        if (!current.empty() && running + word.size() + 1 >= kWidth) {
            lines.push_back(std::move(current));
            current.clear();
            running = 0;
        }
        if (!current.empty()) current += ' ';
        current += word;
        running += word.size() + 1;
    }
    lines.push_back(std::move(current));
    return lines;
}

std::string SlashesToLineBreaks(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i] == '/' && out[i + 1] == '/') {
            if (i == 0 || out[i - 1] != ':') {
                out[i] = '\r';
                out[i + 1] = '\n';
            }
            ++i;
        }
    return out;
}

std::vector<std::string_view> SplitCrLf(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = text.find("\r\n", pos);
        if (at == std::string_view::npos) {
            pieces.push_back(text.substr(pos));
            return pieces;
        }
        pieces.push_back(text.substr(pos, at - pos));
        pos = at + 2;
    }
}

} // namespace qb
