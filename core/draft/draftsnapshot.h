#pragma once

#include "core/draft/colorpalette.h"
#include "core/draft/draftsettings.h"
#include "core/draft/limits.h"
#include "core/draft/threading.h"
#include "core/draft/tieup.h"
#include "core/draft/treadling.h"
#include "core/draft/updatehint.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The shape of the loom: size, forms, row counts and correlation.
struct LoomShape {
    int shafts = 0;
    int treadles = 0;
    bool liftplan = false;
    bool risingShed = true;
    int warps = 1;
    int wefts = 1;
    int correlationSide = 0;
    bool correlationOn = false;

    static LoomShape of(const CQuillabyDoc& doc);
    bool operator==(const LoomShape&) const = default;
};

// Whole parts of a draft at one moment. Edits that cell requests cannot
// express (sequences replaced, loom size or forms changed, palette remapped,
// texts or settings edited) record one of these; undo and redo swap it with
// the document's state. Only the parts named in `parts` are held.
struct DraftSnapshot {
    enum Part : unsigned {
        Structure = 1, // rows, tieup, tieup keys, loom size, forms, row counts, correlation, markers
        Palette = 2,
        Texts = 4,    // title, author, notes and the other texts
        Settings = 8, // sett, units, project plan, notations, block parameters
        All = 15,
    };

    unsigned parts = 0;

    std::array<std::unique_ptr<Threading>, kMaxRows> threading;
    std::array<std::unique_ptr<Treadling>, kMaxRows> treadling;
    std::unique_ptr<Tieup> tieup;
    std::vector<std::unique_ptr<TieupKey>> tieupKeys;
    bool hasTieupKeys = false;
    std::vector<int> markers;
    int shafts = 0;
    int treadles = 0;
    bool liftplan = false;
    bool risingShed = true;
    int warps = 1;
    int wefts = 1;
    int correlationSide = 0;
    bool correlationOn = false;

    ColorPalette palette;

    std::string title, author, notes, date, source;

    int warpSettWhole = 10, warpSettFrac = 0, weftSettWhole = 10, weftSettFrac = 0;
    int units = 0;
    ProjectPlanValues plan;
    DisplayNotations notations;
    BlockSubstitutionParams blocks;

    static std::shared_ptr<DraftSnapshot> Take(const CQuillabyDoc& doc, unsigned parts);
    // What the views hear of a change of these parts; `loomChanged` when the
    // loom's size, forms, row counts or correlation changed with them.
    static UpdateHint HintFor(unsigned parts, bool loomChanged);
    // Puts the held parts back, then marks the document modified and tells
    // every view once.
    void Restore(CQuillabyDoc& doc) const;
    // The shape held (with the Structure part).
    LoomShape loomShape() const
    {
        return {shafts, treadles, liftplan, risingShed, warps, wefts, correlationSide, correlationOn};
    }
    // Whether the document still holds exactly these parts.
    bool Matches(const CQuillabyDoc& doc) const;
    // Memory held, for the history's limit.
    std::size_t bytes() const;
};

} // namespace qb
