#pragma once

#include <vector>

namespace qb {

// The three ways the line tool walks from thread to thread.
enum class LineKind { Straight = 0, Point = 1, Advancing = 2 };

struct LineParams {
    LineKind kind = LineKind::Straight;
    int shafts = 0;           // shafts (treadles in the treadling) the line may use
    int length = 3;           // advancing: threads per run
    int offset = 1;           // advancing: shafts the next run starts higher
    bool rightButton = false; // the right button draws the other way round
};

// Walks a line one thread at a time from the pressed cell. The caller moves
// the pointer thread by thread (delta +1 towards higher thread numbers, -1
// back) and sets each returned shaft. A line on no shafts never moves.
class LineStepper {
public:
    LineStepper(const LineParams& params, int startShaft);

    // The shaft (1-based) of the next thread in direction delta (+1 or -1).
    int step(int delta);
    int shaft() const { return m_shaft; }
    // The thread reached, counted from the pressed one.
    int position() const { return m_pos; }
    bool usable() const { return m_p.shafts > 0; }

private:
    int wrap(int shaft) const;
    int stepStraight(int delta);
    int stepPoint(int delta);
    int stepAdvancing(int delta);

    LineParams m_p;
    int m_shaft;
    int m_pos = 0;
    int m_pointStep; // point line: current shaft direction
    int m_lastDelta = 0;
    int m_runStart = 0; // advancing: first thread of the run
    int m_runShaft;     // advancing: its shaft
};

// The shafts of `count` threads starting with the pressed one, walking in one
// direction (the shape of each line, for tests and previews).
std::vector<int> LineSequence(const LineParams& params, int startShaft, int count, int delta = 1);

// The shaft a typed key names in the threading (treadle in the treadling):
// digits 1..9; with alpha notation A-Z are 1..26 and a-z 27..52 as the
// letters are shown, otherwise both A-Z and a-z stand for 10..35. 0 for any
// other key.
int ShaftForKey(char key, bool alphaNotation);

} // namespace qb
