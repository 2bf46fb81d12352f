#include "core/transform/blockmessages.h"

#include <cstdio>

namespace qb::blockmsg {

std::string format(const char* pattern, long long n)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, pattern, static_cast<int>(n));
    return buf;
}

std::string format(const char* pattern, const std::string& s)
{
    std::string out(pattern);
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, s);
    return out;
}

std::string heading(const std::string& detail)
{
    return format(kHeading, detail);
}
std::string plotHeading(const std::string& detail)
{
    return format(kPlotHeading, detail);
}

std::string combinations(std::uint64_t blockSet)
{
    // "%0x" of the set; sets reach 64 bits, so print all of them.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(blockSet));
    std::string out(kCombinations);
    out.replace(out.find("%0x"), 3, buf);
    return out;
}

} // namespace qb::blockmsg
