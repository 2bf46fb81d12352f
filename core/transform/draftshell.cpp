#include "core/transform/draftshell.h"

#include "core/draft/quillabydoc.h"

namespace qb {

std::unique_ptr<CQuillabyDoc> DraftShellLike(const CQuillabyDoc& src)
{
    auto d = src.Clone();
    for (int r = 1; r < kMaxRows; ++r) {
        d->replaceThreading(r, nullptr);
        d->replaceTreadling(r, nullptr);
    }
    d->setRowCountsRaw(1, 1);
    d->setCorrelation(0, false);
    d->blocks = BlockSubstitutionParams();
    d->tieupKeys.clear();
    d->hasTieupKeys = false;
    d->weaving = WeavingRunState();
    d->notations.threadingSymbols = d->notations.treadlingSymbols = false;
    if (d->notations.threading == 5) d->notations.threading = DisplayNotations().threading;
    if (d->notations.treadling == 5) d->notations.treadling = DisplayNotations().treadling;
    return d;
}

} // namespace qb
