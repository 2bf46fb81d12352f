#include "core/transform/weavestructureedit.h"

#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/skeletontieup.h"
#include "core/transform/tieupkeys.h"

#include <algorithm>

namespace qb {

WeaveStructureEdit::WeaveStructureEdit(const CQuillabyDoc& doc)
    : m_initial(doc.blocks())
    , m_params(doc.blocks())
    , m_work(doc.Clone())
{
    FitTieupKeys(*m_work);
}

WeaveStructureEdit::~WeaveStructureEdit() = default;

void WeaveStructureEdit::setParams(const BlockSubstitutionParams& p)
{
    m_params = p;
    // The keys are drawn for the copy's parameters, which stay while the
    // layout differs.
    if (!layoutChanged()) m_work->raw().blocks = p;
}

bool WeaveStructureEdit::layoutChanged() const
{
    return KeyLayoutChanged(m_initial, m_params);
}

WeaveStructureSheetRules WeaveStructureEdit::rules() const
{
    return SheetRules(m_params, layoutChanged());
}

WeaveStructureEdit::KeyView WeaveStructureEdit::keyView(BlockSet set) const
{
    KeyView v;
    if (layoutChanged()) return v;
    const WeaveStructureSheetRules r = rules();
    const auto& keys = m_work->tieupKeys();
    const TieupKey* stored = set < keys.size() ? keys[set].get() : nullptr;
    v.shown = true;
    v.key = KeyForCombination(*m_work, set);
    v.shafts = m_work->numShafts();
    v.treadles = m_params.patternTreadlesPerBlock;
    v.editable = r.validCombination;
    v.validEnabled = r.validCombination && CombinationCanBeValid(m_params, set);
    v.valid = r.validCombination ? KeyUsable(stored) : m_params.automaticallyGenerated;
    return v;
}

bool WeaveStructureEdit::toggleCell(BlockSet set, int treadle, int shaft)
{
    if (layoutChanged() || m_work->blocks().automaticallyGenerated) return false;
    const auto key = KeyForCombination(*m_work, set);
    return SetKeyCell(*m_work, set, treadle, shaft, !(key && key->cell(treadle, shaft)));
}

bool WeaveStructureEdit::setValid(BlockSet set, bool valid)
{
    return !layoutChanged() && SetKeyValid(*m_work, set, valid);
}

void WeaveStructureEdit::toggleAllValid()
{
    if (!layoutChanged()) MakeAllValid(*m_work, !AllKeysValid(*m_work));
}

std::string WeaveStructureEdit::allValidCaption() const
{
    return MakeAllValidCaption(*m_work);
}

bool SameTieupKeys(const std::vector<std::unique_ptr<TieupKey>>& a, const std::vector<std::unique_ptr<TieupKey>>& b)
{
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const TieupKey* x = i < a.size() ? a[i].get() : nullptr;
        const TieupKey* y = i < b.size() ? b[i].get() : nullptr;
        if (!x || !y) {
            if (KeyDefined(x) || KeyDefined(y)) return false;
            continue;
        }
        if (x->flag1 != y->flag1 || x->flag2 != y->flag2 || x->treadleCount() != y->treadleCount()
            || x->shaftCount() != y->shaftCount())
            return false;
        for (int t = 0; t < x->treadleCount(); ++t)
            if (!(x->column(t) == y->column(t))) return false;
    }
    return true;
}

CommandResult ApplyWeaveStructure(Edit e, CQuillabyDoc& doc, const BlockSubstitutionParams& p,
                                  const WeaveStructureEdit& sheet, IPrompter& prompter)
{
    // Keys drawn for another layout of blocks do not carry over: the sheet
    // kept them out of reach, and the draft's own are fitted to the new one.
    const bool keepKeys = !KeyLayoutChanged(sheet.initial(), p);
    const auto& keys = sheet.draft().tieupKeys();
    // OK without a change leaves nothing to undo.
    if (p == doc.blocks() && (!keepKeys || SameTieupKeys(keys, doc.tieupKeys()))) return CommandResult::noChange();
    const bool toSkeleton = p.skeletonTieup && !doc.blocks().skeletonTieup;
    DraftStep step(e, doc, DraftSnapshot::Settings | DraftSnapshot::Structure);
    RawDraft raw = doc.raw();
    raw.blocks = p;
    if (keepKeys) {
        raw.tieupKeys.clear();
        for (const auto& k : keys) raw.tieupKeys.push_back(k ? std::make_unique<TieupKey>(*k) : nullptr);
    }
    if (p.definesStructure) FitTieupKeys(doc);
    // Without its tieup the option would only mislead the substitution.
    bool relayout = false;
    if (toSkeleton && !(relayout = ConvertToSkeletonTieup(doc, prompter))) raw.blocks.skeletonTieup = false;
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
