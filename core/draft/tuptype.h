#pragma once

#include <bit>
#include <cstdint>

namespace qb {

// A set of up to 64 shafts: one tieup column or one liftplan pick.
// Bit s-1 set means shaft s is tied (lifted).
class TUPTYPE {
public:
    constexpr TUPTYPE() = default;
    constexpr explicit TUPTYPE(std::uint64_t bits) : m_bits(bits) {}

    constexpr std::uint64_t bits() const { return m_bits; }
    constexpr std::uint32_t low() const { return static_cast<std::uint32_t>(m_bits); }
    constexpr std::uint32_t high() const { return static_cast<std::uint32_t>(m_bits >> 32); }

    // Shaft numbers are 1-based; anything outside 1..64 is ignored.
    constexpr void set(int shaft)
    {
        if (valid(shaft)) m_bits |= bit(shaft);
    }
    constexpr void clear(int shaft)
    {
        if (valid(shaft)) m_bits &= ~bit(shaft);
    }
    constexpr bool test(int shaft) const { return valid(shaft) && (m_bits & bit(shaft)) != 0; }
    constexpr bool intersects(TUPTYPE o) const { return (m_bits & o.m_bits) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr int count() const { return std::popcount(m_bits); }
    // Highest shaft in the set, 0 when empty.
    constexpr int highest() const { return m_bits ? 64 - std::countl_zero(m_bits) : 0; }
    constexpr int lowest() const { return m_bits ? std::countr_zero(m_bits) + 1 : 0; }

    // Mask of shafts 1..n (n clamped to 0..64).
    static constexpr TUPTYPE firstShafts(int n)
    {
        if (n <= 0) return TUPTYPE();
        if (n >= 64) return TUPTYPE(~std::uint64_t(0));
        return TUPTYPE((std::uint64_t(1) << n) - 1);
    }

    constexpr TUPTYPE operator|(TUPTYPE o) const { return TUPTYPE(m_bits | o.m_bits); }
    constexpr TUPTYPE operator&(TUPTYPE o) const { return TUPTYPE(m_bits & o.m_bits); }
    constexpr TUPTYPE operator~() const { return TUPTYPE(~m_bits); }
    constexpr TUPTYPE& operator|=(TUPTYPE o)
    {
        m_bits |= o.m_bits;
        return *this;
    }
    constexpr TUPTYPE& operator&=(TUPTYPE o)
    {
        m_bits &= o.m_bits;
        return *this;
    }
    constexpr bool operator==(const TUPTYPE&) const = default;

private:
    static constexpr bool valid(int shaft) { return shaft >= 1 && shaft <= 64; }
    static constexpr std::uint64_t bit(int shaft) { return std::uint64_t(1) << (shaft - 1); }

    std::uint64_t m_bits = 0;
};

// A set of up to 128 treadles (or, in liftplan form, shafts in bits 0..63).
// Bit t-1 set means treadle t is pressed.
class TreadleSet {
public:
    constexpr TreadleSet() = default;
    constexpr TreadleSet(std::uint64_t lo, std::uint64_t hi) : m_lo(lo), m_hi(hi) {}
    constexpr explicit TreadleSet(TUPTYPE shafts) : m_lo(shafts.bits()), m_hi(0) {}

    constexpr std::uint64_t lo() const { return m_lo; }
    constexpr std::uint64_t hi() const { return m_hi; }
    constexpr TUPTYPE shafts() const { return TUPTYPE(m_lo); }

    constexpr void set(int t)
    {
        if (t >= 1 && t <= 64) m_lo |= std::uint64_t(1) << (t - 1);
        else if (t > 64 && t <= 128) m_hi |= std::uint64_t(1) << (t - 65);
    }
    constexpr void clear(int t)
    {
        if (t >= 1 && t <= 64) m_lo &= ~(std::uint64_t(1) << (t - 1));
        else if (t > 64 && t <= 128) m_hi &= ~(std::uint64_t(1) << (t - 65));
    }
    constexpr bool test(int t) const
    {
        if (t >= 1 && t <= 64) return (m_lo >> (t - 1)) & 1;
        if (t > 64 && t <= 128) return (m_hi >> (t - 65)) & 1;
        return false;
    }
    constexpr bool empty() const { return (m_lo | m_hi) == 0; }
    constexpr int count() const { return std::popcount(m_lo) + std::popcount(m_hi); }
    constexpr int lowest() const
    {
        if (m_lo) return std::countr_zero(m_lo) + 1;
        if (m_hi) return std::countr_zero(m_hi) + 65;
        return 0;
    }
    constexpr int highest() const
    {
        if (m_hi) return 128 - std::countl_zero(m_hi);
        if (m_lo) return 64 - std::countl_zero(m_lo);
        return 0;
    }
    // Mask of treadles 1..n (n clamped to 0..128).
    static constexpr TreadleSet firstTreadles(int n)
    {
        if (n <= 0) return TreadleSet();
        if (n >= 128) return TreadleSet(~std::uint64_t(0), ~std::uint64_t(0));
        if (n >= 64) return TreadleSet(~std::uint64_t(0), n == 64 ? 0 : (std::uint64_t(1) << (n - 64)) - 1);
        return TreadleSet((std::uint64_t(1) << n) - 1, 0);
    }
    // Calls f(t) for every treadle t in the set, ascending.
    template <class F> constexpr void forEach(F&& f) const
    {
        for (std::uint64_t b = m_lo; b; b &= b - 1) f(std::countr_zero(b) + 1);
        for (std::uint64_t b = m_hi; b; b &= b - 1) f(std::countr_zero(b) + 65);
    }

    constexpr TreadleSet operator|(TreadleSet o) const { return {m_lo | o.m_lo, m_hi | o.m_hi}; }
    constexpr TreadleSet operator&(TreadleSet o) const { return {m_lo & o.m_lo, m_hi & o.m_hi}; }
    constexpr TreadleSet operator~() const { return {~m_lo, ~m_hi}; }
    constexpr bool operator==(const TreadleSet&) const = default;

private:
    std::uint64_t m_lo = 0;
    std::uint64_t m_hi = 0;
};

} // namespace qb
