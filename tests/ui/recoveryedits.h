#pragma once

// The edits the recovery tests make, in the killed editor and again in the
// test to know what must come back.
#include "core/draft/draftsnapshot.h"
#include "core/draft/quillabydoc.h"

#include <string>

namespace recoverytest {

inline void ApplyEdits(qb::CQuillabyDoc& doc)
{
    doc.Transaction("Pencil", [&](qb::Edit e) {
        doc.SetThreadingCell(e, 0, 3, 0);
        doc.SetThreadingCell(e, 6, 1, 0);
        doc.SetTreadlingCell(e, 2, 5, 0);
    });
    doc.Transaction("Tieup", [&](qb::Edit e) { doc.SetTieupCell(e, 1, 4); });
    doc.Transaction("Color", [&](qb::Edit e) { doc.SetThreadColors(e, qb::Side::Threading, 2, 4, 1); });
    doc.SetTexts(qb::kUnrecorded, "Recovered \xc3\xa9 title", doc.author(), "two\r\nlines");
    doc.SetModified(true);
}

} // namespace recoverytest
