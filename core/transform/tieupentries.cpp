// The Tieup menu, the treadling's form (Multiple Treadles, Add Tabby, Load
// Liftplan) and the Edit menu's conversions between tieup and liftplan form.
#include "core/transform/addtabby.h"
#include "core/transform/commandargs.h"
#include "core/transform/commandentries.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/tieupops.h"

namespace qb {

namespace {

using Id = DraftCommandId;
using Doc = CQuillabyDoc;
using Args = const CommandArgs&;

CommandOutcome changed(CommandResult r)
{
    return CommandOutcome::inPlace(std::move(r));
}

CommandEntry plain(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, "", help, CommandKind::InPlace, 0, 0, {{}}, run};
}

CommandOutcome multipleTreadles(Edit e, Doc& doc, Args a, IPrompter& p)
{
    if (a[0] != "on" && a[0] != "off") return RefuseArgs(p, "multiple-treadles", "say on or off");
    return changed(SetMultipleTreadles(e, doc, a[0] == "on", p));
}

// The dialog's tabby color is white until the weaver picks another.
CommandOutcome addTabby(Edit e, Doc& doc, Args a, IPrompter& p)
{
    AddTabbyOptions o;
    o.tabbyColor = rgb(255, 255, 255);
    if (!ParseNumberArg(a[0], 2, 64, o.groundTreadles)) return RefuseArgs(p, "add-tabby", "G must be 2..64");
    for (std::size_t i = 1; i < a.size(); ++i) {
        std::string color;
        if (a[i] == "add-treadles") o.addTreadles = true;
        else if (!KeyValueArg(a[i], "color", color) || !ParseColorArg(color, o.tabbyColor))
            return RefuseArgs(p, "add-tabby", "unknown argument " + a[i]);
    }
    return changed(AddTabby(e, doc, o, p));
}

// "flip" is the FlipOnPasteLiftplan setting: every pick mirrored.
CommandOutcome loadLiftplan(Edit e, Doc& doc, Args a, IPrompter& p)
{
    if (a.size() > 1 && a[1] != "flip") return RefuseArgs(p, "load-liftplan", "unknown argument " + a[1]);
    PixelGrid grid;
    std::string error;
    if (!ReadLiftplanPicture(a[0], grid, error)) {
        p.tell(error);
        return UnreadableFile();
    }
    return changed(LiftplanFromPicture(e, doc, grid, a.size() > 1, p));
}

} // namespace

std::vector<CommandEntry> TieupCommandEntries()
{
    return {
        {Id::MultipleTreadles,
         "Multiple Treadles",
         "multiple-treadles",
         "on|off",
         "Let a pick press several treadles (on, one weft only), or convert back to\n"
         "one treadle per lift (off).",
         CommandKind::InPlace,
         1,
         1,
         {{"on"}, {"off"}},
         multipleTreadles},
        {Id::AddTabby,
         "Add Tabby",
         "add-tabby",
         "G [add-treadles] [color=RRGGBB]",
         "Insert a tabby pick before every pick on treadles 1..G in turn (G 2..64), in\n"
         "white or the color given; with add-treadles G new treadles are put at the\n"
         "left first.",
         CommandKind::InPlace,
         1,
         3,
         {{"2", "color=030201"}, {"3", "add-treadles"}},
         addTabby},
        {Id::LoadLiftplan,
         "Load Liftplan",
         "load-liftplan",
         "PICTURE [flip]",
         "Take the liftplan from a picture (.png, .bmp, .jpg, .tif): column x of row y\n"
         "presses treadle x + 1 of pick y where it is dark; flip mirrors every pick.",
         CommandKind::InPlace,
         1,
         2,
         {{"{picture}"}, {"{picture}", "flip"}},
         loadLiftplan},
        plain(Id::TieupDirect, "Direct Tieup", "direct-tieup", "Make the tieup direct: treadle i lifts shaft i.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(DirectTieup(e, d)); }),
        plain(Id::TieupInvert, "Invert Tieup", "invert-tieup",
              "Tie every shaft each treadle left untied, and untie the rest.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(InvertTieup(e, d)); }),
        plain(Id::TieupClear, "Clear Tieup", "clear-tieup", "Untie every treadle.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ClearTieup(e, d)); }),
        plain(Id::ConvertToLiftplan, "Convert to Liftplan", "to-liftplan",
              "Convert to liftplan form (Edit > Convert to Liftplan).",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(ConvertToLiftplan(e, d, p)); }),
        plain(Id::ConvertToTieup, "Convert to Tieup", "to-tieup",
              "Convert to tieup form, one treadle per distinct lift (Edit > Convert to Tieup).",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(ConvertToTieup(e, d, p)); }),
    };
}

} // namespace qb
