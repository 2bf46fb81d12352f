#pragma once

#include "core/draft/label.h"
#include "core/draft/limits.h"
#include "core/draft/tuptype.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qb {

// A thread sequence: one entry per warp end (Threading) or weft pick
// (Treadling), with per-thread color, notation symbol and thick flag, and
// three rows of labels. The per-thread vectors always match the count.
class Tding {
public:
    enum class Alternation : std::uint8_t { None = 0, Single = 1, Pairs = 2 };

    virtual ~Tding() = default;

    bool isWarp() const { return m_isWarp; }
    int limit() const { return m_limit; }

    // --- the sequence operations (shafts or treadles are 1-based) ---
    // Refused (false) outside 0..64 (threading) or 0..128 (treadling).
    virtual bool SetLimit(int n) = 0;
    int GetCount() const { return static_cast<int>(m_colors.size()); }
    // Appends up to n empty threads; returns how many were added.
    int Append(int n);
    // Inserts n empty threads before `pos`, then gives the last of them `value`.
    bool Insert(int pos, int value, int n);
    bool Delete(int pos, int n);
    virtual bool SetValue(int index, int v) = 0;
    virtual bool ClearValue(int index, int v) = 0;
    virtual bool Equal(int a, int b) const = 0;
    // Empties the values of a run, cut at the end; refused for a negative
    // position or count.
    virtual bool ClearRange(int pos, int n) = 0;
    // Threading: flip shafts. Treadling: reverse the picks.
    virtual void FlipVertical() = 0;
    // Threading: reverse the ends. Treadling: mirror the treadles.
    virtual void FlipHorizontal() = 0;
    // Threading: shaft of an end. Treadling: lowest treadle of a pick (0 none).
    virtual int FirstValue(int index) const = 0;
    // Highest shaft or treadle used anywhere, 0 when none.
    virtual int HighestValue() const = 0;

    // --- colors ---
    int defaultColor() const { return m_defaultColor; }
    bool setDefaultColor(int c) { return setByte(m_defaultColor, c); }
    int alternateColor() const { return m_alternateColor; }
    bool setAlternateColor(int c) { return setByte(m_alternateColor, c); }
    Alternation alternation() const { return m_alternation; }
    void setAlternation(Alternation a) { m_alternation = a; }
    int referenceColor() const { return m_referenceColor; }
    bool setReferenceColor(int c) { return setByte(m_referenceColor, c); }
    std::array<std::uint8_t, 2> extraColors() const { return m_extraColors; }

    // Color of thread i; beyond the vector, the color the alternation gives.
    int GetColor(int i) const;
    // Sets the color of thread i. When i is beyond the end the sequence grows
    // up to it and c also becomes the default color.
    bool SetColor(int i, int c);
    bool Recolor(int from, int to);
    bool FillColors(int defaultColor, int alternateColor, Alternation mode, int length);
    std::optional<int> UniformColor() const;
    // The highest color index any thread has (-1 when there are none).
    int HighestColor() const;
    int UniformOrDefaultColor() const { return UniformColor().value_or(m_defaultColor); }

    // --- symbols and thickness ---
    int GetSymbol(int i) const;
    bool SetSymbol(int i, int symbol);
    bool HasSymbols() const;
    // The ratio for a thick thread, 0 for a thin one.
    int GetThick(int i) const;
    bool SetThick(int i, bool thick);
    bool AnyThick() const;
    int ratio() const { return m_ratio; }
    void SetRatio(int r);

    // --- labels ---
    bool AddLabel(const Label& label);
    // Into the given row when it fits there, else like AddLabel (file readers
    // use it to put labels back into the rows they were saved from).
    bool AddLabelToRow(int row, const Label& label);
    const Label* FindLabel(int start, int length) const;
    bool SetLabelText(int start, int length, const std::string& text);
    bool RemoveLabel(int start, int length);
    int LabelRowCount() const;
    const std::vector<Label>& labelRow(int row) const { return m_labels[row]; }
    void ClearLabels();

    // --- repeats ---
    // Shortest period p such that the sequence is made of identical runs of p.
    int SmallestRepeat() const;
    bool RangeEqual(int a, int b, int n) const;

    // Free markers for clipboard and block pieces; no meaning in a draft row.
    std::int32_t marker1 = 0;
    std::int32_t marker2 = 0;

protected:
    explicit Tding(bool isWarp, int limit);
    Tding(const Tding&) = default;
    Tding& operator=(const Tding&) = default;

    // Per-value storage hooks for the derived classes.
    virtual void resizeValues(int n) = 0;
    virtual void insertValues(int pos, int n) = 0;
    virtual void eraseValues(int pos, int n) = 0;
    virtual void reverseThreads(); // values, colors, thick flags (not symbols)
    void invalidateThick() { m_thickCache = -1; }
    bool indexOk(int i) const { return i >= 0 && i < GetCount(); }
    static bool setByte(std::uint8_t& field, int v)
    {
        if (v < 0 || v > 255) return false;
        field = static_cast<std::uint8_t>(v);
        return true;
    }
    void copyCommonFrom(const Tding& src, bool withColors);

    std::vector<std::uint8_t> m_colors;
    std::vector<std::uint8_t> m_symbols;
    std::vector<std::uint8_t> m_thick;
    std::array<std::vector<Label>, kLabelRows> m_labels;
    bool m_isWarp;
    std::uint8_t m_limit = 0;
    std::uint8_t m_defaultColor = 0;
    std::uint8_t m_alternateColor = 0;
    std::array<std::uint8_t, 2> m_extraColors{};
    Alternation m_alternation = Alternation::None;
    std::uint8_t m_referenceColor = 0;
    mutable int m_thickCache = -1;
    int m_ratio = 1;

    friend class CQuillabyDoc;
};

} // namespace qb
