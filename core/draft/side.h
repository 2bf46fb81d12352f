#pragma once

namespace qb {

// Which sequences an edit or command works on: the threading rows (ends, warp)
// or the treadling rows (picks, weft).
enum class Side { Threading, Treadling };

inline constexpr Side SideOf(bool warp)
{
    return warp ? Side::Threading : Side::Treadling;
}
inline constexpr bool IsWarp(Side s)
{
    return s == Side::Threading;
}

} // namespace qb
