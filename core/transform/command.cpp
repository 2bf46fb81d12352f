#include "core/transform/command.h"

#include "core/draft/quillabydoc.h"

namespace qb {

NewDraftResult NewDraftResult::made(std::unique_ptr<CQuillabyDoc> d)
{
    d->DiscardHistory();
    d->SetModified();
    NewDraftResult out;
    out.draft = std::move(d);
    out.result = CommandResult::doneAndFit();
    return out;
}

} // namespace qb
