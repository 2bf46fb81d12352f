// Finding floats from the bit-parallel drawdown rows: 64 ends per word, one
// pass over the picks for the warp, one test per distinct lift for the weft.
#include "core/transform/floatsearch.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/sequencetools.h"

#include <algorithm>
#include <bit>
#include <map>
#include <optional>
#include <unordered_map>

namespace qb {

namespace {

// The draft with its threaded ends only (threaded in some warp row when the
// warp rows are color bars). Unthreaded ends are blank on every pick, so
// dropping them leaves blank cells only as whole picks, and a pick's runs
// skip them for free.
struct ThreadedView {
    const CQuillabyDoc* source = nullptr;
    std::unique_ptr<CQuillabyDoc> compact; // null when every end is threaded
    std::vector<int> endOf;                // column -> end

    const CQuillabyDoc& doc() const { return compact ? *compact : *source; }
};

ThreadedView threadedView(const CQuillabyDoc& doc)
{
    ThreadedView v;
    v.source = &doc;
    const int n = doc.numEnds();
    const int rows = doc.activeCorrelation() == 1 ? doc.numWarps() : 1;
    v.endOf.reserve(static_cast<std::size_t>(n));
    for (int e = 0; e < n; ++e) {
        bool threaded = false;
        for (int j = 0; j < rows && !threaded; ++j) threaded = doc.threading(j)->GetShaft(e) != 0;
        if (threaded) v.endOf.push_back(e);
    }
    if (static_cast<int>(v.endOf.size()) == n) return v;
    v.compact = doc.Clone();
    for (int j = 0; j < doc.numWarps(); ++j) v.compact->raw().replaceThreading(j, Gather(*doc.threading(j), v.endOf));
    return v;
}

// Ends threaded alike weave alike, so the warp floats of a column are those
// of the first column threaded the same way: the warp is scanned over one
// column of each kind (64 at most on a plain threading, against 32768 ends).
struct ColumnKinds {
    std::unique_ptr<CQuillabyDoc> doc; // null when the kinds would save little
    std::vector<int> kindOf;           // column -> column of `doc`
};

ColumnKinds columnKinds(const CQuillabyDoc& doc)
{
    ColumnKinds k;
    const int n = doc.numEnds(), rows = doc.numWarps();
    std::map<std::vector<int>, int> kinds;
    std::vector<int> first;
    k.kindOf.reserve(static_cast<std::size_t>(n));
    std::vector<int> key(static_cast<std::size_t>(rows));
    for (int e = 0; e < n; ++e) {
        for (int j = 0; j < rows; ++j) key[static_cast<std::size_t>(j)] = doc.threading(j)->GetShaft(e);
        const auto [it, added] = kinds.try_emplace(key, static_cast<int>(first.size()));
        if (added) first.push_back(e);
        k.kindOf.push_back(it->second);
        if (2 * first.size() > static_cast<std::size_t>(n)) {
            k.kindOf.clear();
            return k;
        }
    }
    k.doc = doc.Clone();
    for (int j = 0; j < rows; ++j) k.doc->raw().replaceThreading(j, Gather(*doc.threading(j), first));
    return k;
}

// Whether `y` holds `len` consecutive set bits (destroys y; z is scratch of
// the same size). After each step bit e of y says bits e .. e + covered - 1
// were all set; the steps double, so a threshold of 99 takes seven, and a
// row with no run left stops early.
bool hasRun(std::vector<std::uint64_t>& y, std::vector<std::uint64_t>& z, int len)
{
    const std::size_t w = y.size();
    std::uint64_t any = 0;
    for (const std::uint64_t v : y) any |= v;
    for (int covered = 1; covered < len && any;) {
        const int s = std::min(covered, len - covered);
        const std::size_t q = static_cast<std::size_t>(s) >> 6;
        const int r = s & 63;
        // Bit e of the shifted row is bit e + s of y, 0 past the end.
        const auto shifted = [&](std::size_t i) {
            const std::uint64_t a = i + q < w ? y[i + q] : 0;
            const std::uint64_t b = i + q + 1 < w ? y[i + q + 1] : 0;
            return r ? (a >> r) | (b << (64 - r)) : a;
        };
        any = 0;
        const std::size_t bulk = w > q + 1 ? w - q - 1 : 0;
        if (r) {
            for (std::size_t i = 0; i < bulk; ++i) any |= z[i] = y[i] & ((y[i + q] >> r) | (y[i + q + 1] << (64 - r)));
        } else {
            for (std::size_t i = 0; i < bulk; ++i) any |= z[i] = y[i] & y[i + q];
        }
        for (std::size_t i = bulk; i < w; ++i) any |= z[i] = y[i] & shifted(i);
        y.swap(z);
        covered += s;
    }
    return any != 0;
}

// Warp floats, one pick at a time: each column keeps the length of its
// current run in bit-sliced counters (plane j holds bit j of every column's
// count), so a pick costs a few word operations per plane and 64 columns.
// Words go in blocks of four, a block's planes side by side, so that the
// work of a block stays in registers.
class WarpRuns {
public:
    static constexpr std::size_t kBlock = 4;

    WarpRuns(std::size_t words, int minLength, bool faceOnly)
        : m_w(words)
        , m_blocks((words + kBlock - 1) / kBlock)
        , m_min(minLength)
        , m_planes(static_cast<std::size_t>(std::bit_width(static_cast<unsigned>(minLength))))
        , m_faceOnly(faceOnly)
        , m_count(m_blocks * m_planes * kBlock, 0)
        , m_up(m_blocks * kBlock, 0)
        , m_on(m_blocks * kBlock, 0)
        , m_prevUp(m_up.size(), 0)
        , m_found(m_up.size(), 0)
    {}

    void feed(const DrawdownRows::Row& row, const std::vector<std::uint64_t>& valid)
    {
        for (std::size_t i = 0; i < m_w; ++i) {
            m_up[i] = row.warpUp[i];
            m_on[i] = valid[i] & ~row.blank[i];
        }
        if (m_faceOnly) feedBlocks<true>();
        else feedBlocks<false>();
    }

    // One bit per column: the column has a warp float.
    std::vector<std::uint64_t> found() const { return {m_found.begin(), m_found.begin() + static_cast<long>(m_w)}; }

private:
    template <bool FaceOnly> void feedBlocks()
    {
        for (std::size_t b = 0; b < m_blocks; ++b) {
            const std::size_t at = b * kBlock;
            std::uint64_t keep[kBlock], carry[kBlock], hit[kBlock];
            for (std::size_t k = 0; k < kBlock; ++k) {
                const std::uint64_t up = m_up[at + k], on = m_on[at + k];
                // keep: the run goes on from the last pick (a blank pick
                // zeroed the count already); carry: this pick counts.
                keep[k] = FaceOnly ? up & m_prevUp[at + k] : ~(up ^ m_prevUp[at + k]) & on;
                carry[k] = hit[k] = FaceOnly ? up : on;
                m_prevUp[at + k] = up;
            }
            // count = (count if kept, else 0) + 1 where the pick counts; a hit
            // where it now equals the minimum (it passes through it exactly).
            std::uint64_t* c = m_count.data() + at * m_planes;
            for (std::size_t j = 0; j < m_planes; ++j, c += kBlock) {
                const std::uint64_t flip = (m_min >> j) & 1 ? 0 : ~std::uint64_t(0);
                for (std::size_t k = 0; k < kBlock; ++k) {
                    const std::uint64_t v = c[k] & keep[k];
                    const std::uint64_t sum = v ^ carry[k];
                    carry[k] = v & carry[k];
                    c[k] = sum;
                    hit[k] &= sum ^ flip;
                }
            }
            for (std::size_t k = 0; k < kBlock; ++k) m_found[at + k] |= hit[k];
        }
    }

    std::size_t m_w;
    std::size_t m_blocks;
    int m_min;
    std::size_t m_planes;
    bool m_faceOnly;
    std::vector<std::uint64_t> m_count, m_up, m_on, m_prevUp, m_found;
};

class FloatScan {
public:
    FloatScan(const CQuillabyDoc& doc, const FloatCriteria& criteria)
        : m_view(threadedView(doc))
        , m_rows(m_view.doc())
        , m_faceOnly(criteria.faceOnly)
        // No run is longer than the longest sequence.
        , m_min(std::min(criteria.minLength(), kMaxThreads + 1))
        , m_valid(static_cast<std::size_t>(m_rows.words()), 0)
    {
        for (int c = 0; c < m_rows.ends(); ++c) m_valid[c >> 6] |= std::uint64_t(1) << (c & 63);
    }

    int columns() const { return m_rows.ends(); }
    int endOf(int column) const { return m_view.endOf[column]; }
    int picks() const { return m_rows.picks(); }
    // The column of an end, -1 when it is unthreaded (and so has no floats).
    int columnOf(int end) const
    {
        const auto& v = m_view.endOf;
        const auto it = std::lower_bound(v.begin(), v.end(), end);
        return it != v.end() && *it == end ? static_cast<int>(it - v.begin()) : -1;
    }

    // Which columns have a warp float (when `warp`) and which picks a weft
    // float (when `weft`), in one pass over the picks so that each row is
    // computed once. Picks with the same lift show the same row, so each
    // distinct lift is tested once for the weft.
    void find(bool warp, bool weft, std::vector<std::uint64_t>& columns, std::vector<bool>& picks) const
    {
        if (warp) {
            if (const ColumnKinds kinds = columnKinds(m_view.doc()); kinds.doc) {
                columns = kindColumns(kinds);
                warp = false;
            }
        }
        std::optional<WarpRuns> runs;
        if (warp) runs.emplace(m_valid.size(), m_min, m_faceOnly);
        if (weft) picks.assign(static_cast<std::size_t>(m_rows.picks()), false);
        std::unordered_map<std::uint64_t, bool> byLift;
        std::vector<std::uint64_t> y(m_valid.size()), z(m_valid.size());
        for (int p = 0; p < m_rows.picks(); ++p) {
            std::optional<DrawdownRows::Row> row;
            if (warp) {
                row = m_rows.row(p);
                runs->feed(*row, m_valid);
            }
            if (!weft) continue;
            const std::uint64_t lift = m_rows.effectiveLift(p).bits();
            auto it = byLift.find(lift);
            if (it == byLift.end()) {
                if (!row) row = m_rows.row(p);
                it = byLift.emplace(lift, weftRowHasFloat(*row, y, z)).first;
            }
            picks[p] = it->second;
        }
        if (warp) columns = runs->found();
    }

    // The runs of the given columns, column by column, each in pick order.
    void listWarp(const std::vector<std::uint64_t>& columns, std::vector<FloatRun>& out) const
    {
        std::vector<int> cols;
        for (int c = 0; c < this->columns(); ++c)
            if ((columns[c >> 6] >> (c & 63)) & 1) cols.push_back(c);
        struct Run {
            int start = 0, length = 0;
            bool up = false;
        };
        std::vector<Run> runs(cols.size());
        std::vector<std::vector<FloatRun>> found(cols.size());
        const auto flush = [&](std::size_t k) {
            Run& r = runs[k];
            if (r.length >= m_min && (!m_faceOnly || r.up))
                found[k].push_back(
                    {FloatDirection::Warp, endOf(cols[k]), r.up, r.start, r.start + r.length - 1, r.length});
            r.length = 0;
        };
        for (int p = 0; p < m_rows.picks(); ++p) {
            const DrawdownRows::Row row = m_rows.row(p);
            for (std::size_t k = 0; k < cols.size(); ++k) {
                const int c = cols[k];
                const std::uint64_t bit = std::uint64_t(1) << (c & 63);
                Run& r = runs[k];
                if (row.blank[c >> 6] & bit) {
                    flush(k);
                    continue;
                }
                const bool up = (row.warpUp[c >> 6] & bit) != 0;
                if (r.length > 0 && r.up == up) {
                    ++r.length;
                    continue;
                }
                flush(k);
                r = {p, 1, up};
            }
        }
        for (std::size_t k = 0; k < cols.size(); ++k) {
            flush(k);
            out.insert(out.end(), found[k].begin(), found[k].end());
        }
    }

    // The runs of the given picks, pick by pick, each in end order. On the
    // face of a pick the weft covers the end.
    void listWeft(const std::vector<bool>& picks, std::vector<FloatRun>& out) const
    {
        for (int p = 0; p < m_rows.picks(); ++p) {
            if (!picks[p]) continue;
            const DrawdownRows::Row row = m_rows.row(p);
            int start = 0, last = 0, length = 0;
            bool up = false;
            const auto flush = [&] {
                if (length >= m_min && (!m_faceOnly || !up))
                    out.push_back({FloatDirection::Weft, p, !up, endOf(start), endOf(last), length});
                length = 0;
            };
            for (int c = 0; c < columns(); ++c) {
                const std::uint64_t bit = std::uint64_t(1) << (c & 63);
                if (row.blank[c >> 6] & bit) continue; // skipped, the run goes on
                const bool u = (row.warpUp[c >> 6] & bit) != 0;
                if (length > 0 && u == up) {
                    ++length;
                    last = c;
                    continue;
                }
                flush();
                start = last = c;
                length = 1;
                up = u;
            }
            flush();
        }
    }

private:
    // Which columns have a warp float, from the scan over one column of each kind.
    std::vector<std::uint64_t> kindColumns(const ColumnKinds& kinds) const
    {
        const DrawdownRows rows(*kinds.doc);
        std::vector<std::uint64_t> valid(static_cast<std::size_t>(rows.words()), 0);
        for (int c = 0; c < rows.ends(); ++c) valid[c >> 6] |= std::uint64_t(1) << (c & 63);
        WarpRuns runs(valid.size(), m_min, m_faceOnly);
        for (int p = 0; p < rows.picks(); ++p) runs.feed(rows.row(p), valid);
        const std::vector<std::uint64_t> found = runs.found();
        std::vector<std::uint64_t> columns(m_valid.size(), 0);
        for (int c = 0; c < m_rows.ends(); ++c) {
            const int k = kinds.kindOf[static_cast<std::size_t>(c)];
            if ((found[k >> 6] >> (k & 63)) & 1) columns[c >> 6] |= std::uint64_t(1) << (c & 63);
        }
        return columns;
    }

    bool weftRowHasFloat(const DrawdownRows::Row& row, std::vector<std::uint64_t>& y,
                         std::vector<std::uint64_t>& z) const
    {
        const std::size_t w = y.size();
        if (m_faceOnly) {
            for (std::size_t i = 0; i < w; ++i) y[i] = ~row.warpUp[i] & m_valid[i] & ~row.blank[i];
            return hasRun(y, z, m_min);
        }
        // Bit e: ends e and e + 1 show the same side; a run of k - 1 such
        // pairs is a run of k ends.
        for (std::size_t i = 0; i < w; ++i) {
            const std::uint64_t on = m_valid[i] & ~row.blank[i];
            const std::uint64_t upNext = i + 1 < w ? row.warpUp[i + 1] << 63 : 0;
            const std::uint64_t onNext = i + 1 < w ? (m_valid[i + 1] & ~row.blank[i + 1]) << 63 : 0;
            y[i] = ~(row.warpUp[i] ^ ((row.warpUp[i] >> 1) | upNext)) & on & ((on >> 1) | onNext);
        }
        return hasRun(y, z, m_min - 1);
    }

    ThreadedView m_view;
    DrawdownRows m_rows;
    bool m_faceOnly;
    int m_min;
    std::vector<std::uint64_t> m_valid; // bits of the columns that exist
};

} // namespace

FloatThreads FindFloatThreads(const CQuillabyDoc& doc, const FloatCriteria& criteria, bool warp, bool weft)
{
    FloatThreads out;
    const FloatScan scan(doc, criteria);
    std::vector<std::uint64_t> cols;
    scan.find(warp, weft, cols, out.picks);
    if (warp) {
        out.ends.assign(static_cast<std::size_t>(doc.numEnds()), false);
        for (int c = 0; c < scan.columns(); ++c)
            if ((cols[c >> 6] >> (c & 63)) & 1) {
                out.ends[scan.endOf(c)] = true;
                ++out.endCount;
            }
    }
    if (weft) {
        out.pickCount = static_cast<int>(std::count(out.picks.begin(), out.picks.end(), true));
    }
    return out;
}

std::vector<FloatRun> ThreadFloats(const CQuillabyDoc& doc, FloatDirection direction, int thread,
                                   const FloatCriteria& criteria)
{
    std::vector<FloatRun> out;
    const FloatScan scan(doc, criteria);
    if (direction == FloatDirection::Warp) {
        const int c = thread >= 0 && thread < doc.numEnds() ? scan.columnOf(thread) : -1;
        if (c < 0) return out;
        std::vector<std::uint64_t> cols(static_cast<std::size_t>((scan.columns() + 63) / 64), 0);
        cols[c >> 6] |= std::uint64_t(1) << (c & 63);
        scan.listWarp(cols, out);
    } else {
        if (thread < 0 || thread >= scan.picks()) return out;
        std::vector<bool> picks(static_cast<std::size_t>(scan.picks()), false);
        picks[thread] = true;
        scan.listWeft(picks, out);
    }
    return out;
}

std::vector<FloatRun> ListFloats(const CQuillabyDoc& doc, const FloatCriteria& criteria)
{
    std::vector<FloatRun> out;
    const FloatScan scan(doc, criteria);
    std::vector<std::uint64_t> cols;
    std::vector<bool> picks;
    scan.find(true, true, cols, picks);
    scan.listWarp(cols, out);
    scan.listWeft(picks, out);
    return out;
}

} // namespace qb
