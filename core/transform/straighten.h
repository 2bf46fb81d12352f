#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// "&Straighten Threading": a new draft whose threading is a straight draw over
// one repeat of the source's first threading, with the tieup (or, in liftplan
// form, the liftplan) rebuilt so the cloth is the same. More than 64 shafts
// needed: refused with the shafts message.
NewDraftResult StraightenThreading(const CQuillabyDoc& doc, IPrompter& prompter);
// "Strai&ghten Treadling": the twin on the picks. The new draft is in tieup
// form: new treadle k lifts exactly what source pick k lifted.
NewDraftResult StraightenTreadling(const CQuillabyDoc& doc, IPrompter& prompter);

} // namespace qb
