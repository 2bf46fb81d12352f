#pragma once

#include "core/draft/tding.h"

namespace qb {

// One weft row: the treadles pressed for every pick, or in liftplan form the
// shafts lifted (bits 0..63).
class Treadling final : public Tding {
public:
    explicit Treadling(int treadles = 0) : Tding(false, treadles) {}
    Treadling(const Treadling&) = default;
    Treadling& operator=(const Treadling&) = default;

    bool SetLimit(int n) override;
    bool SetValue(int index, int treadle) override;
    bool ClearValue(int index, int treadle) override;
    bool Equal(int a, int b) const override;
    bool ClearRange(int pos, int n) override;
    void FlipVertical() override;   // reverse the picks
    void FlipHorizontal() override; // treadle t -> limit - t + 1
    int FirstValue(int index) const override { return GetSet(index).lowest(); }
    int HighestValue() const override;

    // Two rotations of a square treadling (pick count equal to the limit);
    // the first only with multiple treadles on.
    void Rotate1();
    void Rotate2();
    // Every pick complemented within the treadle count.
    void Complement();

    bool multiple() const { return m_multiple; }
    void setMultiple(bool on) { m_multiple = on; }

    TreadleSet GetSet(int pick) const { return indexOk(pick) ? m_values[pick] : TreadleSet(); }
    // Sets the whole pick (grows the sequence when needed); masked to the limit.
    bool SetSet(int pick, TreadleSet set);
    bool SetShafts(int pick, TUPTYPE shafts) { return SetSet(pick, TreadleSet(shafts)); }
    void CopyFrom(const Treadling& src, bool withColors);
    const std::vector<TreadleSet>& values() const { return m_values; }

protected:
    void resizeValues(int n) override { m_values.resize(static_cast<std::size_t>(n)); }
    void insertValues(int pos, int n) override;
    void eraseValues(int pos, int n) override;
    void reverseThreads() override;

private:
    TreadleSet mask() const { return TreadleSet::firstTreadles(m_limit); }

    std::vector<TreadleSet> m_values;
    bool m_multiple = false;
};

} // namespace qb
