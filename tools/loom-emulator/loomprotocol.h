#pragma once

#include "core/dobby/dobbyprotocol.h"
#include "core/draft/tuptype.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qb::loom {

using Bytes = std::vector<std::uint8_t>;

// One command the loom understood from the program.
struct Heard {
    enum class Kind { Greeting, Lift, Query, Test, Release, Push, Pattern, Garbage };
    explicit Heard(Kind k, Bytes bytes = {}) : kind(k), raw(std::move(bytes)) {}

    Kind kind;
    Bytes raw;
    TUPTYPE shafts;    // Lift and Pattern; Push: the pattern it opens
    int dataBytes = 0; // Lift: how many data bytes came
};

const char* KindName(Heard::Kind k);

// What the loom can say to the program.
enum class Reply {
    Ready,       // the head is there (AVL ready, status, LeClerc I acknowledgement)
    Acknowledge, // the other way of saying it (Louet "OK", LeClerc II '?')
    PickRequest, // the weaver stepped on the treadle: next pick please
    Timeout,     // the head timed out
    StatusFlag,  // status with the time-out flag set
    Status,      // status with nothing set
};

// The loom side of one head's protocol: decodes what the program sends and
// composes the loom's replies. No I/O.
class LoomProtocol {
public:
    explicit LoomProtocol(DobbyHeadType head);

    DobbyHeadType head() const { return m_head; }
    // Bytes from the program; returns the commands completed by them.
    std::vector<Heard> feed(const Bytes& bytes);
    // An AVL II lift of 6 data bytes ends in 0x7F, which is also what a 7th
    // data byte with shafts 25-28 up looks like: the byte after it decides. Call
    // this when the line has gone quiet to take the pending 0x7F as the end.
    std::vector<Heard> flush();
    bool hasPending() const { return m_avlAmbiguous; }

    Bytes reply(Reply r) const;
    // False when the head has no such reply (e.g. time-outs on AVL heads).
    bool hasReply(Reply r) const { return !reply(r).empty() || r == Reply::Ready; }

    // Shafts each head's shed holds now: the last lift (AVL) or the pattern
    // last pushed (escape family).
    TUPTYPE shed() const { return m_shed; }

private:
    void feedAVL(std::uint8_t b, std::vector<Heard>& out);
    void feedEscape(std::uint8_t b, std::vector<Heard>& out);
    void feedText(std::uint8_t b, std::vector<Heard>& out);
    void emitAVLLift(std::vector<Heard>& out);
    void command(Heard h, std::vector<Heard>& out);

    DobbyHeadType m_head;
    std::uint8_t m_end = 0;
    merlin::Letters m_letters{};
    // AVL parse state
    Bytes m_avl;
    bool m_greetingStarted = false;
    bool m_avlAmbiguous = false;
    // escape-framed parse state
    Bytes m_frame;
    int m_patternLeft = -1;
    // text parse state
    std::string m_line;
    // the loom's own state
    TUPTYPE m_pattern;
    TUPTYPE m_shed;
};

} // namespace qb::loom
