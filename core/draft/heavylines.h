#pragma once

#include "core/draft/draftsettings.h"

namespace qb {

// The grid's heavy lines come after every this many ends (picks): the
// draft's block size when it keeps one of two threads or more, else 4.
inline int HeavyLinePeriod(const BlockSubstitutionParams& b, bool ends)
{
    const int n = ends ? b.endsPerBlock : b.picksPerBlock;
    return n >= 2 ? n : 4;
}

} // namespace qb
