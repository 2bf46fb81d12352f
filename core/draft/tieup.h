#pragma once

#include "core/draft/tuptype.h"

#include <vector>

namespace qb {

// Which shafts each treadle lifts: one shaft set per treadle. Every column
// stays within the shaft count, so only real shafts ever reach a file.
class Tieup {
public:
    Tieup() = default;
    Tieup(int shafts, int treadles);
    // A window of another tieup: `width` treadles from `treadleOffset`,
    // `height` shafts from `shaftOffset`, cut to the source's size; the
    // columns are shifted down by the shaft offset.
    Tieup(const Tieup& src, int treadleOffset, int shaftOffset, int width, int height);
    Tieup(const Tieup&) = default;
    Tieup& operator=(const Tieup&) = default;
    virtual ~Tieup() = default;

    int shaftCount() const { return m_shafts; }
    int treadleCount() const { return m_treadles; }

    // Treadle indexes are 0-based, shaft numbers 1-based.
    TUPTYPE column(int treadle) const;
    bool setColumn(int treadle, TUPTYPE shafts);
    bool setCell(int treadle, int shaft);
    bool clearCell(int treadle, int shaft);
    bool cell(int treadle, int shaft) const { return column(treadle).test(shaft); }

    // Refused (false) for a negative count or a first treadle outside
    // 0..treadle count; the run is cut at the last treadle.
    virtual bool clearColumns(int first, int count);
    virtual void flipShafts();
    virtual void reverseTreadles();
    virtual void transpose1();
    virtual void transpose2();

    void makeDirect();
    bool setShaftCount(int shafts);
    // New columns are tied straight across (treadle t lifts shaft t+1) where
    // that shaft exists.
    bool setTreadleCount(int treadles);
    // Bits of `other` replace ours only within other's shaft range, shifted
    // up by `shaftShift`, at columns treadleOffset...
    bool merge(const Tieup& other, int treadleOffset, int shaftShift);
    void complement();
    bool isEmpty() const;

    bool operator==(const Tieup& o) const
    {
        return m_shafts == o.m_shafts && m_treadles == o.m_treadles && m_columns == o.m_columns;
    }

private:
    TUPTYPE mask() const { return TUPTYPE::firstShafts(m_shafts); }

    int m_shafts = 0;
    int m_treadles = 0;
    std::vector<TUPTYPE> m_columns;
};

// One block tieup key of block substitution. A key read from a file has
// both flags set; only such keys are written back.
class TieupKey : public Tieup {
public:
    using Tieup::Tieup;
    std::int32_t flag1 = 0;
    std::int32_t flag2 = 0;
    bool isStored() const { return flag1 != 0 && flag2 != 0; }
};

} // namespace qb
