#pragma once

namespace qb {

// Fixed by the representation: 64-bit shaft sets, 128-bit treadle sets,
// 16-bit thread positions, byte-sized palette indexes.
inline constexpr int kMaxShafts = 64;
inline constexpr int kMaxTreadles = 128;
inline constexpr int kMaxThreads = 32768;
inline constexpr int kMaxColors = 90;
inline constexpr int kMaxRows = 4; // warps or wefts
inline constexpr int kLabelRows = 3;
inline constexpr int kMaxLabelText = 31;
inline constexpr int kMinRatio = 1;
inline constexpr int kMaxRatio = 5;
inline constexpr unsigned char kNoColor = 255; // result of a failed palette add

} // namespace qb
