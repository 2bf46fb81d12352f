#pragma once

#include <vector>

namespace qb {

class Tding;

// Where each thread of a sequence sits, in cells: a thick thread takes
// 1 + ratio cells, a thin one a single cell. Panes, the drawdown image and
// hit testing all use these positions.
class ThreadLayout {
public:
    ThreadLayout() = default;
    // Layout of `count` threads of `seq` (count may exceed the sequence: the
    // extra threads are thin).
    ThreadLayout(const Tding& seq, int count);
    // All threads thin.
    static ThreadLayout uniform(int count);

    int count() const { return static_cast<int>(m_start.size()) - 1; }
    int totalCells() const { return m_start.empty() ? 0 : m_start.back(); }
    // First cell of thread i (cells of threads 0..i-1).
    int cellOf(int i) const { return m_start[i]; }
    int cellsOf(int i) const { return m_start[i + 1] - m_start[i]; }
    // The thread covering cell c, or -1 outside.
    int threadAt(int cell) const;

private:
    std::vector<int> m_start{0}; // count + 1 running sums
};

} // namespace qb
