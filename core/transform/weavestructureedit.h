#pragma once

#include "core/draft/draftsettings.h"
#include "core/draft/tieup.h"
#include "core/transform/command.h"
#include "core/transform/weavestructure.h"

#include <memory>
#include <optional>
#include <string>

namespace qb {

// What the "&Weave Structure..." sheet works on: a copy of the draft whose
// tieup keys the weaver draws and marks valid. The copy's parameters follow
// the sheet's while the layout of the keys stays as it was drawn; keys drawn
// for another layout of blocks are out of reach until it is back.
class WeaveStructureEdit {
public:
    explicit WeaveStructureEdit(const CQuillabyDoc& doc);
    ~WeaveStructureEdit();
    WeaveStructureEdit(const WeaveStructureEdit&) = delete;
    WeaveStructureEdit& operator=(const WeaveStructureEdit&) = delete;

    // The draft's parameters when the sheet opened.
    const BlockSubstitutionParams& initial() const { return m_initial; }
    // The parameters the sheet shows now (see SheetParams).
    void setParams(const BlockSubstitutionParams& p);
    const BlockSubstitutionParams& params() const { return m_params; }
    // Whether the number of blocks, the pattern treadles per block or the
    // shaft layout changed, so the keys no longer fit their picture.
    bool layoutChanged() const;
    WeaveStructureSheetRules rules() const;

    // What the key picture and "Valid combination" show for a combination
    // of blocks (block k is bit k-1).
    struct KeyView {
        bool shown = false; // false: the layout changed, there is no key to show
        std::optional<TieupKey> key;
        int shafts = 0; // the key's size
        int treadles = 0;
        bool editable = false;     // its cells can be drawn
        bool validEnabled = false; // "Valid combination" can be changed
        bool valid = false;        // and is checked
    };
    KeyView keyView(BlockSet set) const;
    // A click on one cell of the combination's key (treadle 0-based, shaft
    // 1-based): drawn or cleared. False when the key cannot be drawn.
    bool toggleCell(BlockSet set, int treadle, int shaft);
    // "Valid combination"; false when the rules refuse it.
    bool setValid(BlockSet set, bool valid);
    // The button: "Make all valid" or "Invalidate all", as its caption says.
    void toggleAllValid();
    std::string allValidCaption() const;

    // The copy with the keys as drawn.
    const CQuillabyDoc& draft() const { return *m_work; }

private:
    BlockSubstitutionParams m_initial;
    BlockSubstitutionParams m_params;
    std::unique_ptr<CQuillabyDoc> m_work;
};

// OK on the sheet: the draft takes the parameters `p`, and the keys drawn
// on the sheet unless their layout changed (then its own are fitted to the
// new one). Skeleton Tieup newly chosen converts the tieup, or is dropped
// with the reason told. No step when OK changed nothing.
CommandResult ApplyWeaveStructure(Edit e, CQuillabyDoc& doc, const BlockSubstitutionParams& p,
                                  const WeaveStructureEdit& sheet, IPrompter& prompter);

// Whether two lists of keys hold the same keys (slots past the end of a list
// hold none).
bool SameTieupKeys(const std::vector<std::unique_ptr<TieupKey>>& a, const std::vector<std::unique_ptr<TieupKey>>& b);

} // namespace qb
