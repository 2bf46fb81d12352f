#include "core/draft/linetool.h"

#include <algorithm>

namespace qb {

LineStepper::LineStepper(const LineParams& params, int startShaft)
    : m_p(params)
    , m_shaft(startShaft)
    , m_pointStep(params.rightButton ? -1 : 1)
    , m_runShaft(startShaft)
{
    m_p.length = std::max(1, m_p.length);
    if (m_p.shafts > 0) m_shaft = m_runShaft = std::clamp(startShaft, 1, m_p.shafts);
}

int LineStepper::wrap(int shaft) const
{
    const int s = m_p.shafts;
    return ((shaft - 1) % s + s) % s + 1;
}

int LineStepper::step(int delta)
{
    delta = delta < 0 ? -1 : 1;
    if (!usable()) return m_shaft;
    switch (m_p.kind) {
    case LineKind::Straight: m_shaft = stepStraight(delta); break;
    case LineKind::Point: m_shaft = stepPoint(delta); break;
    case LineKind::Advancing: m_shaft = stepAdvancing(delta); break;
    }
    m_pos += delta;
    m_lastDelta = delta;
    return m_shaft;
}

int LineStepper::stepStraight(int delta)
{
    return wrap(m_shaft + (m_p.rightButton ? -delta : delta));
}

int LineStepper::stepPoint(int delta)
{
    const int s = m_p.shafts;
    // One shaft has nowhere to turn to: the line stays on it.
    if (s == 1) return 1;
    int e = m_shaft - 1 + m_pointStep * delta;
    if (e > s - 1) {
        e = 2 * s - e - 2;
        m_pointStep = -m_pointStep;
    } else if (e < 0) {
        e = -e;
        m_pointStep = -m_pointStep;
    }
    return e + 1;
}

int LineStepper::stepAdvancing(int delta)
{
    const int L = m_p.length;
    if (m_lastDelta != 0 && delta != m_lastDelta) {
        // Turning back: the run now starts where the old one would have
        // ended, so the way back retraces the way out.
        const int oldSign = m_p.rightButton ? -m_lastDelta : m_lastDelta;
        m_runStart += (L - 1) * m_lastDelta;
        m_runShaft = wrap(m_runShaft + (L - 1) * oldSign);
    }
    const int sign = m_p.rightButton ? -delta : delta;
    const int next = m_pos + delta;
    if ((next - m_runStart) * delta >= L) {
        m_runStart = next;
        m_runShaft = wrap(m_runShaft + m_p.offset * sign);
        return m_runShaft;
    }
    return wrap(m_shaft + sign);
}

std::vector<int> LineSequence(const LineParams& params, int startShaft, int count, int delta)
{
    std::vector<int> out;
    if (count <= 0) return out;
    LineStepper line(params, startShaft);
    out.push_back(line.shaft());
    for (int i = 1; i < count; ++i) out.push_back(line.step(delta));
    return out;
}

int ShaftForKey(char key, bool alphaNotation)
{
    if (key >= '1' && key <= '9') return key - '0';
    if (key >= 'A' && key <= 'Z') return key - 'A' + (alphaNotation ? 1 : 10);
    if (key >= 'a' && key <= 'z') return key - 'a' + (alphaNotation ? 27 : 10);
    return 0;
}

} // namespace qb
