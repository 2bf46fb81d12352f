#include "core/dobby/dobbyprotocol.h"

#include <algorithm>
#include <cctype>

namespace qb {

namespace {

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool DobbyHeadFromName(std::string_view name, DobbyHeadType& out)
{
    for (const DobbyHeadInfo& h : kDobbyHeads) {
        if (sameText(name, h.key) || sameText(name, h.name)) {
            out = h.type;
            return true;
        }
    }
    return false;
}

} // namespace qb
