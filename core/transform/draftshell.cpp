#include "core/transform/draftshell.h"

#include "core/draft/quillabydoc.h"

namespace qb {

std::unique_ptr<CQuillabyDoc> DraftShellLike(const CQuillabyDoc& src)
{
    auto d = src.Clone();
    RawDraft raw = d->raw();
    for (int r = 1; r < kMaxRows; ++r) {
        raw.replaceThreading(r, nullptr);
        raw.replaceTreadling(r, nullptr);
    }
    raw.setRowCountsRaw(1, 1);
    raw.setCorrelation(0, false);
    raw.blocks = BlockSubstitutionParams();
    raw.tieupKeys.clear();
    raw.hasTieupKeys = false;
    raw.weaving = WeavingRunState();
    raw.notations.threadingSymbols = raw.notations.treadlingSymbols = false;
    if (d->notations().threading == kUserDefined) raw.notations.threading = DisplayNotations().threading;
    if (d->notations().treadling == kUserDefined) raw.notations.treadling = DisplayNotations().treadling;
    return d;
}

} // namespace qb
