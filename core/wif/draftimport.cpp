#include "core/wif/draftimport.h"

#include "core/draft/draftstep.h"
#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/draft/undorequests.h"
#include "core/wif/wifreader.h"
#include "core/wif/wiftext.h"

#include <optional>

namespace qb {

namespace {

// The other draft, when it is readable and carries a WIF version.
std::optional<IniFile> openSource(const std::string& path, IPrompter& messages)
{
    std::string reason;
    auto ini = IniFile::load(path, &reason);
    if (!ini) {
        messages.tell("Unable to open " + path + ".\n" + reason);
        return std::nullopt;
    }
    std::string version;
    if (!ini->readText("WIF", "Version", 64, version) || version.empty()) {
        messages.tell(FormatMessage(wifmsg::kVersion, version));
        return std::nullopt;
    }
    return ini;
}

// The index in `fresh` of the color `index` names in `old` (black when it
// names none); appended when missing, the old index when there is no room.
int remap(int index, const ColorPalette& old, ColorPalette& fresh)
{
    const COLORREF c = index < old.count() ? old.color(index) : 0x000000;
    if (int found = fresh.find(c); found >= 0) return found;
    if (fresh.count() >= kMaxColors) return index;
    return fresh.add(c, true);
}

void remapRow(Tding& t, const ColorPalette& old, ColorPalette& fresh)
{
    for (int i = 0; i < t.GetCount(); ++i) t.SetColor(i, remap(t.GetColor(i), old, fresh));
    // Threads added later take these: they must keep naming the same colors.
    t.setDefaultColor(remap(t.defaultColor(), old, fresh));
    t.setAlternateColor(remap(t.alternateColor(), old, fresh));
    t.setReferenceColor(remap(t.referenceColor(), old, fresh));
}

} // namespace

void AdoptPalette(CQuillabyDoc& doc, const ColorPalette& palette)
{
    ColorPalette fresh = palette;
    const ColorPalette old = doc.palette();
    for (int r = 0; r < kMaxRows; ++r) {
        if (Threading* t = doc.raw().threadingMutable(r)) remapRow(*t, old, fresh);
        if (Treadling* t = doc.raw().treadlingMutable(r)) remapRow(*t, old, fresh);
    }
    if (doc.numEnds() > 0) fresh.setLeftColor(doc.threading(0)->GetColor(0));
    if (doc.numPicks() > 0) fresh.setRightColor(doc.treadling(0)->GetColor(0));
    doc.raw().paletteMutable() = fresh;
}

ImportResult ImportPalette(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& messages)
{
    auto ini = openSource(path, messages);
    if (!ini) return ImportResult::Refused;
    WifReader reader(*ini, messages);
    if (!reader.flagged(WifSection::ColorTable)) return ImportResult::NoChange;

    ColorPalette fresh;
    reader.readPalette(fresh);
    DraftStep step(e, doc, DraftSnapshot::Structure | DraftSnapshot::Palette);
    AdoptPalette(doc, fresh);
    step.commit();
    return ImportResult::Done;
}

ImportResult ImportProjectPlan(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& messages)
{
    auto ini = openSource(path, messages);
    if (!ini) return ImportResult::Refused;
    WifReader reader(*ini, messages);
    DraftStep step(e, doc, DraftSnapshot::Settings);
    reader.readProjectPlan(doc);
    step.commit();
    return ImportResult::Done;
}

} // namespace qb
