#pragma once

#include <cstdint>
#include <string_view>

namespace qb {

// The dobby heads the program can drive, by their stored `DobbyHeadType` index.
// Any index of 5 or more means that no head is configured.
enum class DobbyHeadType : int {
    AVL2 = 0,
    AVL3 = 1,
    Louet = 2,
    Leclerc1 = 3,
    Leclerc2 = 4,
};

inline constexpr int kDobbyHeadTypes = 5;

// What each head needs on the line and how many shafts it can raise.
struct DobbyHeadInfo {
    DobbyHeadType type;
    std::string_view name; // shown to the weaver
    std::string_view key;  // short name for command lines and logs
    int baud;
    int maxShafts; // shafts the head's lift command can carry
    bool selfTest; // whether the head has a self-test command
};

inline constexpr DobbyHeadInfo kDobbyHeads[kDobbyHeadTypes] = {
    {DobbyHeadType::AVL2, "AVL Compu-Dobby II", "avl2", 9600, 40, false},
    {DobbyHeadType::AVL3, "AVL Compu-Dobby III", "avl3", 9600, 40, false},
    {DobbyHeadType::Louet, "Louet", "louet", 2400, 32, true},
    {DobbyHeadType::Leclerc1, "LeClerc I", "leclerc1", 9600, 16, false},
    {DobbyHeadType::Leclerc2, "LeClerc II", "leclerc2", 1200, 32, true},
};

// Every head runs 8 data bits, no parity, one stop bit.
inline constexpr int kDobbyDataBits = 8;

// The stored shaft count of the dobby settings.
inline constexpr int kDobbyMinShafts = 1;
inline constexpr int kDobbyMaxShafts = 40;

inline constexpr bool IsDobbyHeadType(int index)
{
    return index >= 0 && index < kDobbyHeadTypes;
}
inline constexpr const DobbyHeadInfo& DobbyHead(DobbyHeadType t)
{
    return kDobbyHeads[static_cast<int>(t)];
}

// Looks a head up by its short key or its shown name; false when unknown.
bool DobbyHeadFromName(std::string_view name, DobbyHeadType& out);

// Bytes of the nibble family (both AVL heads).
namespace avl {
inline constexpr std::uint8_t kReplyA = 0x61;   // 'a': the loom wants the next pick
inline constexpr std::uint8_t kReplyB = 0x62;   // 'b': precedes 'a'
inline constexpr std::uint8_t kReady = 0x7F;    // the head is ready for its first lift
inline constexpr std::uint8_t kFrameEnd = 0x03; // ends every reply
inline constexpr std::uint8_t kGreeting = 0x0F;
inline constexpr std::uint8_t kEndAVL2 = 0x7F; // ends a lift on the II
inline constexpr std::uint8_t kEndAVL3 = 0x07; // ends a lift on the III
inline constexpr int kMaxLiftBytes = 10;       // 40 shafts, 4 per byte
} // namespace avl

// Bytes of the escape-framed family (Louet, LeClerc I and II).
namespace merlin {
inline constexpr std::uint8_t kEsc = 0x1B;
inline constexpr std::uint8_t kCR = 0x0D;
inline constexpr std::uint8_t kLF = 0x0A;
inline constexpr std::uint8_t kOpenBracket = '['; // LeClerc I replies
inline constexpr std::uint8_t kCloseBracket = ']';
inline constexpr std::uint8_t kTimeoutFlag = 0x08; // in a status byte

struct Letters {
    std::uint8_t pattern, push, release, query, test;
};
inline constexpr Letters kLouet{'S', 'E', 'D', '?', 'T'};
inline constexpr Letters kLeclerc2{'I', 'E', 'R', 'Q', 'T'};

inline constexpr int kLiftBytesLouet = 4;
inline constexpr int kLiftBytesLeclerc2 = 4;
inline constexpr int kLiftBytesLeclerc1 = 2;

// LeClerc I speaks text lines ending in CR LF.
inline constexpr std::string_view kTextTest = "TEST\r\n";
inline constexpr std::string_view kTextRelease = "RELEASE\r\n";
inline constexpr std::string_view kTextPush = "PUSH PATTERN\r\n";
inline constexpr std::string_view kTextPatternPrefix = "SET PATTERN  0x"; // then 4 hex digits, CR LF
inline constexpr int kTextPatternLength = 21;
} // namespace merlin

} // namespace qb
