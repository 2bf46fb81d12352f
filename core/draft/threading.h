#pragma once

#include "core/draft/tding.h"

namespace qb {

// One warp row: the shaft of every end (1-based, 0 = not threaded).
class Threading final : public Tding {
public:
    explicit Threading(int shafts = 0) : Tding(true, shafts) {}
    Threading(const Threading&) = default;
    Threading& operator=(const Threading&) = default;

    bool SetLimit(int n) override;
    bool SetValue(int index, int shaft) override;
    bool ClearValue(int index, int shaft) override;
    bool Equal(int a, int b) const override;
    bool ClearRange(int pos, int n) override;
    void FlipVertical() override;   // shaft s -> limit - s + 1
    void FlipHorizontal() override; // reverse the ends
    int FirstValue(int index) const override { return GetShaft(index); }
    int HighestValue() const override;

    int GetShaft(int end) const { return indexOk(end) ? m_values[end] : 0; }
    void CopyFrom(const Threading& src, bool withColors);
    const std::vector<std::uint8_t>& values() const { return m_values; }

protected:
    void resizeValues(int n) override { m_values.resize(static_cast<std::size_t>(n), 0); }
    void insertValues(int pos, int n) override;
    void eraseValues(int pos, int n) override;
    void reverseThreads() override;

private:
    std::vector<std::uint8_t> m_values;
};

} // namespace qb
