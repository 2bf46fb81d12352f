// Finding floats from the bit-parallel drawdown rows: 64 ends per word, one
// pass over the picks for the warp, one test per distinct lift for the weft.
#include "floatsearch.h"

#include "draft/drawdown.h"
#include "draft/quillabydoc.h"
#include "sequencetools.h"

#include <bit>
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
    for (int j = 0; j < doc.numWarps(); ++j) v.compact->replaceThreading(j, Gather(*doc.threading(j), v.endOf));
    return v;
}

// y &= y shifted down by s bits (bit e takes bit e + s), only over the words
// in `active`, which then lists the words still non-zero. Ascending order
// makes the in-place update safe: it reads only words not yet updated.
void shiftAnd(std::vector<std::uint64_t>& y, std::vector<int>& active, int s)
{
    const int w = static_cast<int>(y.size());
    const int q = s >> 6, r = s & 63;
    std::size_t kept = 0;
    for (const int i : active) {
        const std::uint64_t a = i + q < w ? y[i + q] : 0;
        const std::uint64_t b = i + q + 1 < w ? y[i + q + 1] : 0;
        y[i] &= r ? (a >> r) | (b << (64 - r)) : a;
        if (y[i]) active[kept++] = i;
    }
    active.resize(kept);
}

// Whether `y` holds `len` consecutive set bits (destroys y).
bool hasRun(std::vector<std::uint64_t>& y, int len)
{
    std::vector<int> active;
    for (int i = 0; i < static_cast<int>(y.size()); ++i)
        if (y[i]) active.push_back(i);
    // After each step bit e says bits e .. e + covered - 1 are all set.
    for (int covered = 1; covered < len && !active.empty();) {
        const int s = std::min(covered, len - covered);
        shiftAnd(y, active, s);
        covered += s;
    }
    return !active.empty();
}

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

    // One bit per column: the column has a warp float. Each column keeps the
    // length of its current run in bit-sliced counters (plane j holds bit j
    // of every column's count), so a pick costs a few word operations per
    // plane and 64 columns.
    std::vector<std::uint64_t> warpColumns() const
    {
        const std::size_t w = m_valid.size();
        const int planes = std::bit_width(static_cast<unsigned>(m_min));
        std::vector<std::uint64_t> count(static_cast<std::size_t>(planes) * w, 0);
        std::vector<std::uint64_t> prevUp(w, 0), prevOn(w, 0), keep(w), carry(w), hit(w), found(w, 0);
        for (int p = 0; p < m_rows.picks(); ++p) {
            const DrawdownRows::Row row = m_rows.row(p);
            for (std::size_t i = 0; i < w; ++i) {
                const std::uint64_t up = row.warpUp[i];
                const std::uint64_t on = m_valid[i] & ~row.blank[i];
                // keep: the run goes on from the last pick; carry: this pick counts.
                keep[i] = m_faceOnly ? up & prevUp[i] : ~(up ^ prevUp[i]) & on & prevOn[i];
                carry[i] = m_faceOnly ? up : on;
                hit[i] = carry[i];
                prevUp[i] = up;
                prevOn[i] = on;
            }
            // count = (count if kept, else 0) + 1 where the pick counts; a hit
            // where it now equals the minimum (it passes through it exactly).
            for (int j = 0; j < planes; ++j) {
                std::uint64_t* c = &count[static_cast<std::size_t>(j) * w];
                const std::uint64_t flip = (m_min >> j) & 1 ? 0 : ~std::uint64_t(0);
                for (std::size_t i = 0; i < w; ++i) {
                    const std::uint64_t v = c[i] & keep[i];
                    const std::uint64_t s = v ^ carry[i];
                    carry[i] = v & carry[i];
                    c[i] = s;
                    hit[i] &= s ^ flip;
                }
            }
            for (std::size_t i = 0; i < w; ++i) found[i] |= hit[i];
        }
        return found;
    }

    // One flag per pick: the pick has a weft float. Picks with the same lift
    // show the same row, so each distinct lift is tested once.
    std::vector<bool> weftPicks() const
    {
        std::vector<bool> out(static_cast<std::size_t>(m_rows.picks()), false);
        std::unordered_map<std::uint64_t, bool> byLift;
        std::vector<std::uint64_t> y(m_valid.size());
        for (int p = 0; p < m_rows.picks(); ++p) {
            const std::uint64_t lift = m_rows.effectiveLift(p).bits();
            auto it = byLift.find(lift);
            if (it == byLift.end()) it = byLift.emplace(lift, weftRowHasFloat(m_rows.row(p), y)).first;
            out[p] = it->second;
        }
        return out;
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
                found[k].push_back({FloatDirection::Warp, endOf(cols[k]), r.up, r.start, r.start + r.length - 1, r.length});
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
    bool weftRowHasFloat(const DrawdownRows::Row& row, std::vector<std::uint64_t>& y) const
    {
        const std::size_t w = y.size();
        if (m_faceOnly) {
            for (std::size_t i = 0; i < w; ++i) y[i] = ~row.warpUp[i] & m_valid[i] & ~row.blank[i];
            return hasRun(y, m_min);
        }
        // Bit e: ends e and e + 1 show the same side; a run of k - 1 such
        // pairs is a run of k ends.
        for (std::size_t i = 0; i < w; ++i) {
            const std::uint64_t on = m_valid[i] & ~row.blank[i];
            const std::uint64_t upNext = i + 1 < w ? row.warpUp[i + 1] << 63 : 0;
            const std::uint64_t onNext = i + 1 < w ? (m_valid[i + 1] & ~row.blank[i + 1]) << 63 : 0;
            y[i] = ~(row.warpUp[i] ^ ((row.warpUp[i] >> 1) | upNext)) & on & ((on >> 1) | onNext);
        }
        return hasRun(y, m_min - 1);
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
    if (warp) {
        out.ends.assign(static_cast<std::size_t>(doc.numEnds()), false);
        const std::vector<std::uint64_t> cols = scan.warpColumns();
        for (int c = 0; c < scan.columns(); ++c)
            if ((cols[c >> 6] >> (c & 63)) & 1) {
                out.ends[scan.endOf(c)] = true;
                ++out.endCount;
            }
    }
    if (weft) {
        out.picks = scan.weftPicks();
        out.pickCount = static_cast<int>(std::count(out.picks.begin(), out.picks.end(), true));
    }
    return out;
}

std::vector<FloatRun> ListFloats(const CQuillabyDoc& doc, const FloatCriteria& criteria)
{
    std::vector<FloatRun> out;
    const FloatScan scan(doc, criteria);
    scan.listWarp(scan.warpColumns(), out);
    scan.listWeft(scan.weftPicks(), out);
    return out;
}

} // namespace qb
