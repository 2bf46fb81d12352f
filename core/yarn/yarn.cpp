#include "core/yarn/yarn.h"

#include <algorithm>
#include <limits>

namespace qb {

namespace {

template <typename T> bool clampInto(long long v, long long hi, T& out)
{
    const long long c = std::clamp<long long>(v, 0, hi);
    out = static_cast<T>(c);
    return c == v;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

CYarn::CYarn(std::string size, std::string fiber, std::uint32_t density, int shrinkage, int sett, std::string notes)
    : m_size(std::move(size))
    , m_fiber(std::move(fiber))
    , m_density(density)
    , m_notes(std::move(notes))
{
    setShrinkage(shrinkage);
    setSett(sett);
}

bool CYarn::setDensity(long long d)
{
    return clampInto(d, std::numeric_limits<std::uint32_t>::max(), m_density);
}

bool CYarn::setShrinkage(long long percent)
{
    return clampInto(percent, kMaxYarnShrinkage, m_shrinkage);
}

bool CYarn::setSett(long long sett)
{
    return clampInto(sett, kMaxYarnSett, m_sett);
}

std::string CYarn::DisplayName() const
{
    if (m_size.size() > 1 || (m_size.size() == 1 && m_size != "-")) return m_size + " " + m_fiber;
    return m_fiber;
}

void CYarn::NormalizeForFile()
{
    m_size = TrimYarnText(m_size);
    m_fiber = TrimYarnText(m_fiber);
    m_notes = TrimYarnText(m_notes);
    if (m_size.empty()) m_size = "-";
    if (m_fiber.empty()) m_fiber = "-";
}

std::string TrimYarnText(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

} // namespace qb
