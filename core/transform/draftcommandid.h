#pragma once

namespace qb {

// The whole-draft commands of the menus that run on the draft alone, one per
// menu command (the editor's label, clipboard and fabric-analysis commands
// need the screen and are not here). Grouped as the menus group them.
enum class DraftCommandId {
    // Threading
    ThreadingRepeat,
    ThreadingReflect,
    ThreadingReverse,
    ThreadingWrapUp,
    ThreadingWrapDown,
    ThreadingWrapRight,
    ThreadingWrapLeft,
    ThreadingClear,
    ThreadingClearLabels,
    ThreadingArrange,
    ThreadingRemove,
    ThreadingOptimize,
    UseWeftColors,
    // Treadling
    TreadlingRepeat,
    TreadlingReflect,
    TreadlingReverse,
    TreadlingWrapRight,
    TreadlingWrapLeft,
    TreadlingWrapUp,
    TreadlingWrapDown,
    TreadlingClear,
    TreadlingClearLabels,
    TreadlingArrange,
    TreadlingRemove,
    TreadlingOptimize,
    TrompAsWrit,
    MirrorThreading,
    UseWarpColors,
    MultipleTreadles,
    AddTabby,
    LoadLiftplan,
    // Tieup and the draft's form
    TieupDirect,
    TieupInvert,
    TieupClear,
    ConvertToLiftplan,
    ConvertToTieup,
    // Drawdown and Tools
    SuperSize,
    SingleRepeat,
    TurnDraft,
    StraightenThreading,
    StraightenTreadling,
    OptimizeDraft,
    DoubleWidth,
    // Combining with the draft itself or other files
    EchoThreading,
    InterleaveThreading,
    ExpandThreading,
    ImportThreading,
    EchoTreadling,
    InterleaveTreadling,
    OverlayPegplan,
    AppendTreadling,
    ExpandTreadling,
    ImportTreadling,
    ImportTieup,
    ImportWarpColorway,
    ImportWeftColorway,
    // Profile and network drafting
    BlockSubstitution,
    ScalePatternLine,
    PlotOntoNetwork,
    RibbonTemplate,
};

inline constexpr int kDraftCommandCount = static_cast<int>(DraftCommandId::RibbonTemplate) + 1;

} // namespace qb
