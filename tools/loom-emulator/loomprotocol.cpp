#include "tools/loom-emulator/loomprotocol.h"

#include <cctype>

namespace qb::loom {

const char* KindName(Heard::Kind k)
{
    switch (k) {
    case Heard::Kind::Greeting: return "greeting";
    case Heard::Kind::Lift: return "lift";
    case Heard::Kind::Query: return "query";
    case Heard::Kind::Test: return "test";
    case Heard::Kind::Release: return "release";
    case Heard::Kind::Push: return "push";
    case Heard::Kind::Pattern: return "pattern";
    case Heard::Kind::Garbage: return "garbage";
    }
    return "?";
}

LoomProtocol::LoomProtocol(DobbyHeadType head) : m_head(head)
{
    switch (head) {
    case DobbyHeadType::AVL2: m_end = avl::kEndAVL2; break;
    case DobbyHeadType::AVL3: m_end = avl::kEndAVL3; break;
    case DobbyHeadType::Louet: m_letters = merlin::kLouet; break;
    case DobbyHeadType::Leclerc2: m_letters = merlin::kLeclerc2; break;
    case DobbyHeadType::Leclerc1: break;
    }
}

std::vector<Heard> LoomProtocol::feed(const Bytes& bytes)
{
    std::vector<Heard> out;
    for (std::uint8_t b : bytes) {
        switch (m_head) {
        case DobbyHeadType::AVL2:
        case DobbyHeadType::AVL3: feedAVL(b, out); break;
        case DobbyHeadType::Louet:
        case DobbyHeadType::Leclerc2: feedEscape(b, out); break;
        case DobbyHeadType::Leclerc1: feedText(b, out); break;
        }
    }
    return out;
}

std::vector<Heard> LoomProtocol::flush()
{
    std::vector<Heard> out;
    if (m_avlAmbiguous) {
        m_avlAmbiguous = false;
        emitAVLLift(out);
    }
    return out;
}

void LoomProtocol::command(Heard h, std::vector<Heard>& out)
{
    switch (h.kind) {
    case Heard::Kind::Lift: m_shed = h.shafts; break;
    case Heard::Kind::Pattern: m_pattern = h.shafts; break;
    case Heard::Kind::Push:
        m_shed = m_pattern;
        h.shafts = m_pattern;
        break;
    case Heard::Kind::Release: m_shed = TUPTYPE(); break;
    default: break;
    }
    out.push_back(std::move(h));
}

void LoomProtocol::emitAVLLift(std::vector<Heard>& out)
{
    Heard h(Heard::Kind::Lift);
    h.dataBytes = static_cast<int>(m_avl.size());
    for (int j = 0; j < h.dataBytes; ++j) {
        const int nibble = m_head == DobbyHeadType::AVL3 ? (~m_avl[j] & 0x0F) : (m_avl[j] & 0x0F);
        for (int i = 0; i < 4; ++i)
            if (nibble & (1 << i)) h.shafts.set(4 * j + i + 1);
    }
    h.raw = m_avl;
    h.raw.push_back(m_end);
    m_avl.clear();
    command(std::move(h), out);
}

void LoomProtocol::feedAVL(std::uint8_t b, std::vector<Heard>& out)
{
    if (m_avlAmbiguous) {
        m_avlAmbiguous = false;
        if (b == 0x80 + (b & 0x0F) || b == m_end) {
            // The 0x7F was the 7th data byte.
            m_avl.push_back(m_end);
            if (b == m_end) {
                emitAVLLift(out);
                return;
            }
        } else {
            emitAVLLift(out);
        }
    }
    if (m_greetingStarted) {
        m_greetingStarted = false;
        if (b == m_end) {
            Heard h(Heard::Kind::Greeting);
            h.raw = {avl::kGreeting, b};
            command(std::move(h), out);
            return;
        }
        command(Heard(Heard::Kind::Garbage, {avl::kGreeting}), out);
    }
    if (m_avl.empty() && b == avl::kGreeting) {
        m_greetingStarted = true;
        return;
    }
    const int expected = static_cast<int>(m_avl.size()) + 1;
    if (b == m_end && !m_avl.empty()) {
        if (m_head == DobbyHeadType::AVL2 && expected == 7) {
            m_avlAmbiguous = true;
            return;
        }
        emitAVLLift(out);
        return;
    }
    if ((b >> 4) == expected && expected <= avl::kMaxLiftBytes) {
        m_avl.push_back(b);
        return;
    }
    Heard g(Heard::Kind::Garbage);
    g.raw = m_avl;
    g.raw.push_back(b);
    m_avl.clear();
    command(std::move(g), out);
}

void LoomProtocol::feedEscape(std::uint8_t b, std::vector<Heard>& out)
{
    if (m_patternLeft > 0) {
        // Pattern bytes are binary: they may be ESC or CR.
        m_frame.push_back(b);
        --m_patternLeft;
        return;
    }
    if (m_frame.empty()) {
        if (b == merlin::kEsc) m_frame.push_back(b);
        else command(Heard(Heard::Kind::Garbage, {b}), out);
        return;
    }
    m_frame.push_back(b);
    if (m_frame.size() == 2) {
        if (b == m_letters.pattern) m_patternLeft = merlin::kLiftBytesLouet;
        return;
    }
    if (b != merlin::kCR) {
        if (m_frame.size() > 8) {
            command(Heard(Heard::Kind::Garbage, m_frame), out);
            m_frame.clear();
            m_patternLeft = -1;
        }
        return;
    }
    Heard h(Heard::Kind::Garbage);
    h.raw = m_frame;
    const std::uint8_t letter = m_frame[1];
    const std::size_t size = m_frame.size();
    if (letter == m_letters.pattern && size == 7) {
        h.kind = Heard::Kind::Pattern;
        std::uint64_t bits = 0;
        for (int j = 0; j < 4; ++j) bits |= std::uint64_t(m_frame[2 + j]) << (8 * j);
        h.shafts = TUPTYPE(bits);
    } else if (size == 3) {
        if (letter == m_letters.push) h.kind = Heard::Kind::Push;
        else if (letter == m_letters.release) h.kind = Heard::Kind::Release;
        else if (letter == m_letters.query) h.kind = Heard::Kind::Query;
        else if (letter == m_letters.test) h.kind = Heard::Kind::Test;
    }
    m_frame.clear();
    m_patternLeft = -1;
    command(std::move(h), out);
}

void LoomProtocol::feedText(std::uint8_t b, std::vector<Heard>& out)
{
    m_line.push_back(static_cast<char>(b));
    if (b != merlin::kLF) {
        if (m_line.size() > 64) {
            command(Heard(Heard::Kind::Garbage, Bytes(m_line.begin(), m_line.end())), out);
            m_line.clear();
        }
        return;
    }
    Heard h(Heard::Kind::Garbage);
    h.raw = Bytes(m_line.begin(), m_line.end());
    const std::string prefix(merlin::kTextPatternPrefix);
    if (m_line == merlin::kTextRelease) {
        h.kind = Heard::Kind::Release;
    } else if (m_line == merlin::kTextPush) {
        h.kind = Heard::Kind::Push;
    } else if (m_line == merlin::kTextTest) {
        h.kind = Heard::Kind::Test;
    } else if (m_line.size() == static_cast<std::size_t>(merlin::kTextPatternLength)
               && m_line.compare(0, prefix.size(), prefix) == 0 && m_line.compare(19, 2, "\r\n") == 0) {
        bool hex = true;
        unsigned v = 0;
        for (std::size_t i = prefix.size(); i < 19; ++i) {
            const char c = m_line[i];
            // Upper case only: that is what the head reads.
            if (std::isdigit(static_cast<unsigned char>(c))) v = v * 16 + unsigned(c - '0');
            else if (c >= 'A' && c <= 'F') v = v * 16 + unsigned(c - 'A' + 10);
            else hex = false;
        }
        if (hex) {
            h.kind = Heard::Kind::Pattern;
            h.shafts = TUPTYPE(v);
        }
    }
    m_line.clear();
    command(std::move(h), out);
}

Bytes LoomProtocol::reply(Reply r) const
{
    const auto esc = [](std::initializer_list<std::uint8_t> body) {
        Bytes b(body.size() + 2, merlin::kEsc);
        std::size_t i = 1;
        for (std::uint8_t x : body) b[i++] = x;
        b[i] = merlin::kCR;
        return b;
    };
    const auto text = [](const char* s) {
        const std::string t(s);
        return Bytes(t.begin(), t.end());
    };
    switch (m_head) {
    case DobbyHeadType::AVL2:
    case DobbyHeadType::AVL3:
        switch (r) {
        case Reply::Ready:
        case Reply::Acknowledge: return {avl::kReady, avl::kFrameEnd};
        case Reply::PickRequest: return {avl::kReplyB, avl::kFrameEnd, avl::kReplyA, avl::kFrameEnd};
        default: return {};
        }
    case DobbyHeadType::Louet:
        switch (r) {
        case Reply::Ready:
        case Reply::Status: return esc({'I', 0x00});
        case Reply::Acknowledge: return esc({'O', 'K'});
        case Reply::PickRequest: return esc({'C', 'C'});
        case Reply::Timeout: return esc({'T', 'O'});
        case Reply::StatusFlag: return esc({'I', merlin::kTimeoutFlag});
        }
        break;
    case DobbyHeadType::Leclerc2:
        switch (r) {
        case Reply::Ready:
        case Reply::Status: return esc({'S', 0x00});
        case Reply::Acknowledge: return esc({'?'});
        case Reply::PickRequest: return esc({'C'});
        case Reply::Timeout: return esc({'T'});
        case Reply::StatusFlag: return esc({'S', merlin::kTimeoutFlag});
        }
        break;
    case DobbyHeadType::Leclerc1:
        switch (r) {
        case Reply::PickRequest: return text("[CC]\r\n");
        case Reply::Timeout: return text("[TO]\r\n");
        case Reply::Acknowledge:
        case Reply::Status: return text("[OK]\r\n");
        default: return {};
        }
    }
    return {};
}

} // namespace qb::loom
