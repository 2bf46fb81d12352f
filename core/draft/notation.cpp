#include "core/draft/notation.h"

#include "core/draft/quillabydoc.h"

namespace qb {

namespace {

bool toggle(Edit e, CQuillabyDoc& doc, int DisplayNotations::*field, int value)
{
    DisplayNotations n = doc.notations();
    n.*field = n.*field == value ? kPlain : value;
    return doc.SetNotations(e, n);
}

} // namespace

bool ToggleThreadingNotation(Edit e, CQuillabyDoc& doc, Notation n)
{
    return toggle(e, doc, &DisplayNotations::threading, n);
}

bool ToggleTreadlingNotation(Edit e, CQuillabyDoc& doc, Notation n)
{
    return toggle(e, doc, &DisplayNotations::treadling, n);
}

bool ToggleTieupNotation(Edit e, CQuillabyDoc& doc, Notation n)
{
    return toggle(e, doc, &DisplayNotations::tieup, n);
}

bool ToggleInterlace(Edit e, CQuillabyDoc& doc)
{
    return toggle(e, doc, &DisplayNotations::drawdown, kInterlaced);
}

} // namespace qb
