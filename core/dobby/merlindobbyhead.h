#pragma once

#include "core/dobby/dobbyhead.h"

namespace qb {

// The escape-framed family: commands ESC letter ... CR, replies framed the same
// way (LeClerc I: text commands and bracketed replies). States: 0 waiting for
// the head, 1 weaving, 3 timed out, 4 self-test waiting for the head, 5 self-test
// running, 6 time-out clearing.
class MerlinDobbyHead : public CDobbyHead {
public:
    enum State {
        WaitingForHead = 0,
        Weaving = 1,
        TimedOut = 3,
        SelfTestWaiting = 4,
        SelfTestRunning = 5,
        TimeoutClearing = 6,
    };

    // The data bytes of `lift`: eight shafts per byte, shaft 1 in bit 0 of the first.
    std::vector<std::uint8_t> EncodeLift(TUPTYPE lift) const;
    std::uint8_t firstDataByte() const { return m_b1; }
    std::uint8_t secondDataByte() const { return m_b2; }

protected:
    MerlinDobbyHead(DobbyHeadType type, IDobbyHost* host, int configuredShafts, merlin::Letters letters, int liftBytes);

    void OnStart() override;
    void ProcessInput() override;
    void SendLift(bool repeat) override;
    int LiftByteCount() override { return m_liftBytes; }
    int WeavingState() const override { return Weaving; }
    void Shutdown() override { SendRelease(); }
    void Resume() override;

    virtual void QueryStatus();
    virtual void StartSelfTest();
    virtual void SendRelease();
    virtual void SendPush();
    virtual void SendPattern(const std::vector<std::uint8_t>& liftBytes);
    virtual bool IsStatus(bool strict) const = 0;
    virtual bool IsAcknowledge() const = 0;
    virtual bool IsPickRequest() const = 0;
    virtual bool IsTimeout() const = 0;
    virtual bool TimeoutFlagSet() const { return (m_b2 & merlin::kTimeoutFlag) != 0; }
    void HandleFrame();

    // Sends the current lift and push after the head first answers.
    void SendFirstPattern();

    // Received-frame parsing, shared by the framings.
    void beginFrame();
    void dataByte(std::uint8_t b);
    void endFrame();

    merlin::Letters m_letters;
    int m_liftBytes;
    bool m_inFrame = false;
    bool m_firstSeen = false;
    bool m_dataSeen = false;
    std::uint8_t m_b1 = 0;
    std::uint8_t m_b2 = 0;
};

class LouetDobbyHead : public MerlinDobbyHead {
public:
    LouetDobbyHead(IDobbyHost* host, int configuredShafts);

protected:
    bool IsStatus(bool strict) const override { return m_b1 == 'I' && (!strict || (m_b2 & 1) == 0); }
    bool IsAcknowledge() const override { return m_b1 == 'O' && m_b2 == 'K'; }
    bool IsPickRequest() const override { return m_b1 == 'C' && m_b2 == 'C'; }
    bool IsTimeout() const override { return m_b1 == 'T' && m_b2 == 'O'; }
};

class Leclerc2DobbyHead : public MerlinDobbyHead {
public:
    Leclerc2DobbyHead(IDobbyHost* host, int configuredShafts);

protected:
    bool IsStatus(bool) const override { return m_b1 == 'S'; }
    bool IsAcknowledge() const override { return m_b1 == '?'; }
    bool IsPickRequest() const override { return m_b1 == 'C'; }
    bool IsTimeout() const override { return m_b1 == 'T'; }
};

// Text commands ending in CR LF; replies in brackets ("[CC]") or ended by CR.
class Leclerc1DobbyHead : public MerlinDobbyHead {
public:
    Leclerc1DobbyHead(IDobbyHost* host, int configuredShafts);

    // "SET PATTERN  0xHHHH" CR LF: the 16 shafts as one hexadecimal number.
    static std::string PatternText(TUPTYPE lift);

protected:
    void OnStart() override;
    void ProcessInput() override;
    void QueryStatus() override {}
    void StartSelfTest() override;
    void SendRelease() override;
    void SendPush() override;
    void SendPattern(const std::vector<std::uint8_t>& liftBytes) override;
    bool IsStatus(bool) const override { return true; }
    bool IsAcknowledge() const override { return true; }
    bool IsPickRequest() const override { return m_b1 == 'C' && m_b2 == 'C'; }
    bool IsTimeout() const override { return m_b1 == 'T' && m_b2 == 'O'; }
    bool TimeoutFlagSet() const override { return false; }
};

} // namespace qb
