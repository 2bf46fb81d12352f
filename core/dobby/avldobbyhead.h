#pragma once

#include "core/dobby/dobbyhead.h"

#include <array>

namespace qb {

// The nibble family: four shafts per data byte, the byte's number in its high
// nibble, replies of one code byte and 0x03. States: 0 waiting for the head
// after the greeting, 1 first or next lift sent, 2 'b' seen (the next 'a'
// asks for the next pick).
class AVLDobbyHead : public CDobbyHead {
public:
    enum State { WaitingForHead = 0, Weaving = 1, PickComing = 2 };

    // The data bytes of `lift` for `count` bytes; without the end byte.
    virtual std::vector<std::uint8_t> EncodeLift(TUPTYPE lift, int count) const = 0;
    std::uint8_t endByte() const { return m_endByte; }

protected:
    AVLDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts, std::uint8_t endByte);

    void OnStart() override;
    void ProcessInput() override;
    void SendLift(bool repeat) override;
    int LiftByteCount() override;
    int WeavingState() const override { return Weaving; }
    void Shutdown() override {}

    void SendFirstLift();
    void HandleReply(std::uint8_t code);

    static std::uint8_t ByteNumber(int j) { return static_cast<std::uint8_t>((j + 1) << 4); }

private:
    std::uint8_t m_endByte;
    std::uint8_t m_pending = 0;
};

class AVL2DobbyHead : public AVLDobbyHead {
public:
    AVL2DobbyHead(IDobbyHost* host, int configuredShafts);
    // A set bit raises the shaft.
    std::vector<std::uint8_t> EncodeLift(TUPTYPE lift, int count) const override;
};

class AVL3DobbyHead : public AVLDobbyHead {
public:
    AVL3DobbyHead(IDobbyHost* host, int configuredShafts);
    // A set bit leaves the shaft down, so no data byte can look like the end byte.
    std::vector<std::uint8_t> EncodeLift(TUPTYPE lift, int count) const override;
};

} // namespace qb
