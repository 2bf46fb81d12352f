#pragma once

#include "core/draft/tuptype.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qb {

// One thread written by block substitution, with where it came from: the
// profile thread whose unit wrote it and its place in that unit. Colors are
// given afterwards by these records, so they follow every balance shift.
template <class V> struct PlacedThread {
    V value{};
    std::uint8_t color = 0;
    bool thick = false;
    int source = -1; // profile thread index
    int offset = 0;  // index within the unit
};

template <class V> using Unit = std::vector<PlacedThread<V>>;

// How units are joined. The first choice of a balance writes the first N
// threads of the unit once more after it; the second moves the write position
// back by N so the next unit overwrites them. Flipping reverses a new unit:
// with the first choice when its first tiedown thread would repeat the last
// tiedown thread written, with the second when its first thread differs
// from the last thread written.
struct AssemblyOptions {
    int unitLength = 1;
    int transition = 0;
    bool transitionOverlaps = false; // second choice
    int turning = 0;
    bool turningOverlaps = false;
    bool flip = false;
    bool flipToShared = false; // second choice
    bool shortenLast = false;  // the last unit loses the overlap (treadling, second transition choice)
};

template <class V> struct AssemblyInput {
    std::vector<int> blocks;   // block of every profile thread (0: none)
    std::vector<bool> turning; // turning points, or empty
    // The unit of a block (block 0: a unit of empty threads); null when the
    // structure has none.
    std::function<const Unit<V>*(int block)> unit;
    std::function<TreadleSet(const V&)> tiedown; // the tiedown part of a value (empty: none)
    const char* overlapMessage = "";
    const char* enoughMessage = "";
};

template <class V> struct AssemblyResult {
    std::vector<PlacedThread<V>> threads;
    std::string error; // detail message; empty on success
};

template <class V> AssemblyResult<V> AssembleUnits(const AssemblyInput<V>& in, const AssemblyOptions& o);

extern template AssemblyResult<int> AssembleUnits(const AssemblyInput<int>&, const AssemblyOptions&);
extern template AssemblyResult<TreadleSet> AssembleUnits(const AssemblyInput<TreadleSet>&, const AssemblyOptions&);

} // namespace qb
