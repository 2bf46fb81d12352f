#include "core/transform/messages.h"

#include "core/draft/limits.h"

#include <cstdio>

namespace qb::msg {

namespace {
std::string format(const char* pattern, int n)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, pattern, n);
    return buf;
}
} // namespace

std::string cannotTranslate(const std::string& detail)
{
    return "Unable to translate this draft.\n\n" + detail + "\n";
}
std::string shaftsRequired(int n)
{
    return cannotTranslate(format("Number of shafts required (%d)\n exceeds program capabilities.\n", n));
}
std::string treadlesRequired(int n)
{
    return cannotTranslate(format("Number of treadles required (%d)\n exceeds program capabilities.\n", n));
}
// Sequences are limited to 32768 threads; a longer result is refused whole.
std::string endsRequired(int n)
{
    return cannotTranslate(format("Number of ends required (%d)\n exceeds program capabilities.\n", n));
}
std::string picksRequired(int n)
{
    return cannotTranslate(format("Number of picks required (%d)\n exceeds program capabilities.\n", n));
}
std::string turnShafts(int n)
{
    return format("Cannot turn draft.\n\nNumber of shafts needed (%d)\nexceeds maximum available.", n);
}
std::string tabbyTreadles(int n)
{
    return format("Number of treadles required (%d),\nto add tabby exceeds program capabilities.", n);
}
std::string tabbyGround(int ground, int treadles)
{
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "The draft has %d treadles; %d tabby treadles do not fit.\n\nCheck \"Add treadles for "
                  "tabby picks\" or use fewer treadles for ground.",
                  treadles, ground);
    return buf;
}
std::string needsTieupForm(const std::string& command)
{
    return command + " works on drafts in tieup form.\n\nUse Edit->Convert to Tieup first.";
}
std::string needsOneWeft(const std::string& command)
{
    return command + " works on drafts with one weft color.";
}
std::string pictureTooWide(int used)
{
    return format("The picture is wider than the shafts available.\nOnly its left %d columns were used.", used);
}

std::string paletteLimit()
{
    return format(
        "Color palette is limited to %d colors.\n\nRemove unused colors with Clear Palette on the Color menu.",
        kMaxColors);
}

} // namespace qb::msg
