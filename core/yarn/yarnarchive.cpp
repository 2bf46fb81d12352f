#include "core/yarn/yarnarchive.h"

#include "core/yarn/yarndoc.h"
#include "core/yarn/yarnmessages.h"

#include <cstdint>

namespace qb {

namespace {

// Size, fiber and notes of one byte each (empty) plus the numbers.
constexpr std::size_t kSmallestYarn = 1 + 1 + 4 + 1 + 1 + 1;

void putU16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void putU32(std::string& out, std::uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

void putString(std::string& out, std::string_view s)
{
    const std::size_t n = s.size();
    if (n < 0xFF) {
        out += static_cast<char>(n);
    } else {
        out += '\xFF';
        if (n < 0xFFFE) {
            putU16(out, static_cast<std::uint32_t>(n));
        } else {
            putU16(out, 0xFFFF);
            putU32(out, static_cast<std::uint32_t>(n));
        }
    }
    out.append(s);
}

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    std::size_t left() const { return m_bytes.size() - m_pos; }

    bool u8(std::uint32_t& v)
    {
        if (left() < 1) return false;
        v = static_cast<unsigned char>(m_bytes[m_pos++]);
        return true;
    }
    bool u16(std::uint32_t& v)
    {
        std::uint32_t lo, hi;
        if (!u8(lo) || !u8(hi)) return false;
        v = lo | hi << 8;
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        std::uint32_t lo, hi;
        if (!u16(lo) || !u16(hi)) return false;
        v = lo | hi << 16;
        return true;
    }

    bool string(std::string& out)
    {
        std::uint32_t n;
        bool wide = false;
        if (!prefix(n, wide)) return false;
        if (wide) return wideString(out);
        if (n > left()) return false;
        out.assign(m_bytes.substr(m_pos, n));
        m_pos += n;
        return true;
    }

private:
    // Sets `wide` instead of a length when the 16-bit marker comes first.
    bool prefix(std::uint32_t& n, bool& wide)
    {
        if (!u8(n)) return false;
        if (n < 0xFF) return true;
        if (!u16(n)) return false;
        if (n == 0xFFFE) {
            wide = true;
            return true;
        }
        if (n < 0xFFFE) return true;
        return u32(n);
    }

    bool wideString(std::string& out)
    {
        std::uint32_t n;
        bool again = false;
        if (!prefix(n, again) || again) return false;
        if (n > left() / 2) return false;
        out.clear();
        for (std::uint32_t i = 0; i < n; ++i) {
            std::uint32_t c = 0;
            u16(c); // cannot fail: the length was checked
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < n) {
                const std::uint32_t lo =
                    static_cast<unsigned char>(m_bytes[m_pos]) | static_cast<unsigned char>(m_bytes[m_pos + 1]) << 8;
                if (lo >= 0xDC00 && lo < 0xE000) {
                    m_pos += 2;
                    ++i;
                    appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00));
                    continue;
                }
            }
            appendUtf8(out, c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
        }
        return true;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

} // namespace

std::string YarnArchiveBytes(const CYarnDoc& doc)
{
    std::string out;
    putU16(out, static_cast<std::uint32_t>(doc.count()));
    for (int i = 0; i < doc.count(); ++i) {
        const CYarn& y = doc.yarn(i);
        putString(out, y.size());
        putString(out, y.fiber());
        putU32(out, y.density());
        out += static_cast<char>(y.shrinkage());
        out += static_cast<char>(y.sett());
        putString(out, y.notes());
    }
    return out;
}

YarnArchiveRead ParseYarnArchive(std::string_view bytes)
{
    YarnArchiveRead r;
    Reader in(bytes);
    std::uint32_t count;
    if (!in.u16(count) || count > in.left() / kSmallestYarn) {
        r.error = yarnmsg::kDamagedArchive;
        return r;
    }
    r.yarns.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string size, fiber, notes;
        std::uint32_t density, shrinkage, sett;
        if (!in.string(size) || !in.string(fiber) || !in.u32(density) || !in.u8(shrinkage) || !in.u8(sett)
            || !in.string(notes)) {
            r.yarns.clear();
            r.error = yarnmsg::kDamagedArchive;
            return r;
        }
        CYarn y(std::move(size), std::move(fiber), density, 0, static_cast<int>(sett), std::move(notes));
        if (!y.setShrinkage(shrinkage)) ++r.clamped;
        r.yarns.push_back(std::move(y));
    }
    r.ok = true;
    return r;
}

} // namespace qb
