#include "core/transform/liftplanpicture.h"

#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"
#include "core/picture/picturereader.h"
#include "core/transform/messages.h"

#include <algorithm>

namespace qb {

PixelGrid PixelGrid::FromGray(int width, int height, const std::uint8_t* gray)
{
    PixelGrid g;
    if (width <= 0 || height <= 0 || !gray) return g;
    g.width = width;
    g.height = height;
    g.argb.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < g.argb.size(); ++i) g.argb[i] = 0xFF000000u | (std::uint32_t(gray[i]) * 0x010101u);
    return g;
}

bool ReadLiftplanPicture(const std::string& path, PixelGrid& out, std::string& error)
{
    RgbPicture picture;
    if (!ReadPictureFile(path, picture, error)) return false;
    out.width = picture.width;
    out.height = picture.height;
    out.argb = std::move(picture.pixels);
    return true;
}

int PixelGray(std::uint32_t p)
{
    return GreyValue(p);
}

bool PixelPresses(std::uint32_t p)
{
    if ((p >> 24) < 128) return false;
    return PixelGray(p) < 250;
}

CommandResult LiftplanFromPicture(Edit e, CQuillabyDoc& doc, const PixelGrid& pic, bool flip, IPrompter& prompter)
{
    if (pic.width <= 0 || pic.height <= 0 || pic.argb.size() < static_cast<std::size_t>(pic.width) * pic.height)
        return CommandResult::noChange();
    if (pic.height > kMaxThreads) return CommandResult::refused(prompter, msg::picksRequired(pic.height));
    // A direct tieup reaches 64 shafts; columns beyond would lift nothing.
    const int w = std::min(pic.width, kMaxShafts);

    DraftStep step(e, doc);
    bool anyMultiple = false;
    auto t = std::make_unique<Treadling>(*doc.treadling(0));
    if (t->GetCount()) t->Delete(0, t->GetCount());
    t->ClearLabels();
    t->SetLimit(w);
    t->Append(pic.height);
    for (int y = 0; y < pic.height; ++y) {
        TreadleSet set;
        for (int x = 0; x < w; ++x)
            if (PixelPresses(pic.at(x, y))) set.set(flip ? w - x : x + 1);
        anyMultiple = anyMultiple || set.count() > 1;
        t->SetSet(y, set);
    }

    const bool liftplan = doc.isLiftplan();
    const int shafts = std::max(doc.numShafts(), w);
    if (shafts != doc.numShafts()) doc.SetNumShafts(kUnrecorded, shafts);
    for (int r = 1; r < kMaxRows; ++r) doc.raw().replaceTreadling(r, nullptr);
    doc.raw().setRowCountsRaw(doc.numWarps(), 1);
    if (doc.correlationSide() == 2) doc.raw().setCorrelation(0, false);
    // In liftplan form the treadles stay the shafts.
    const int treadles = liftplan ? shafts : w;
    t->SetLimit(treadles);
    t->setMultiple(liftplan || anyMultiple);
    doc.raw().replaceTreadling(0, std::move(t));
    doc.raw().setLoomRaw(shafts, treadles, liftplan);
    auto tu = std::make_unique<Tieup>(shafts, treadles);
    tu->makeDirect();
    doc.raw().replaceTieup(std::move(tu));
    doc.raw().weaving.markers.clear();

    if (doc.numEnds() == 0) {
        for (int r = 0; r < doc.numWarps(); ++r) doc.raw().threadingMutable(r)->Append(shafts);
        Threading& th = *doc.raw().threadingMutable(0);
        for (int k = 0; k < shafts; ++k) th.SetValue(k, flip ? k + 1 : shafts - k);
    }
    step.commit();
    CommandResult r = CommandResult::doneAndFit();
    if (pic.width > w) {
        prompter.tell(msg::pictureTooWide(w));
        r.message = msg::pictureTooWide(w);
    }
    return r;
}

} // namespace qb
