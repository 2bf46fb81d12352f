#include "core/transform/networkscale.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/transform/draftshell.h"

#include <algorithm>

namespace qb {

std::vector<int> ScaleShaftsVertically(std::vector<int> shafts, int target, int shaftCount, bool telescope)
{
    const int e = shafts.empty() ? 0 : *std::max_element(shafts.begin(), shafts.end());
    const int s = shaftCount;
    if (target < e && telescope) {
        for (int& v : shafts)
            if (v > 0) v = (v - 1) % s + 1;
    } else if (shafts.size() >= 2 && e >= 2) {
        // Double precision on purpose: drafts made before depend on its truncation.
        const double x = static_cast<double>(s - 1) / (e - 1);
        for (int& v : shafts)
            if (v > 0) v = v < e ? static_cast<int>((v - 1) * x) + 1 : s;
    }
    // A line too short to digitize must still fit the new shafts.
    for (int& v : shafts) v = std::min(v, s);
    return shafts;
}

HorizontalScale ScaleShaftsHorizontally(const std::vector<int>& shafts, int length)
{
    const int f = static_cast<int>(shafts.size());
    const int len = length;
    HorizontalScale out;
    out.shafts = shafts;
    out.source.resize(shafts.size());
    for (int i = 0; i < f; ++i) out.source[static_cast<std::size_t>(i)] = i;
    if (len < f) {
        if (len < 2) return out;
        out.shafts.assign(static_cast<std::size_t>(len), 0);
        out.source.assign(static_cast<std::size_t>(len), 0);
        for (int i = 0; i < len; ++i) {
            const int from = i == 0 ? 0 : i == len - 1 ? f - 1 : static_cast<int>(static_cast<double>(i) * f / len);
            out.shafts[static_cast<std::size_t>(i)] = shafts[static_cast<std::size_t>(from)];
            out.source[static_cast<std::size_t>(i)] = from;
        }
        return out;
    }
    if (f <= 1 || static_cast<double>(len - 1) / (f - 1) < 1) return out;
    const double b = static_cast<double>(len - 1) / (f - 1);
    out.shafts.assign(static_cast<std::size_t>(len), 0);
    out.source.assign(static_cast<std::size_t>(len), -1);
    const auto place = [&](int at, int from) {
        out.shafts[static_cast<std::size_t>(at)] = shafts[static_cast<std::size_t>(from)];
        out.source[static_cast<std::size_t>(at)] = from;
    };
    place(0, 0);
    place(len - 1, f - 1);
    for (int i = 1; i < f - 1; ++i) place(static_cast<int>(i * b), i);
    // Straight lines across every run of unthreaded ends between two threaded ones.
    int j = -1;
    for (int k = 0; k < len; ++k) {
        const int q = out.shafts[static_cast<std::size_t>(k)];
        if (q == 0) continue;
        if (j >= 0 && k - j > 1) {
            const int p = out.shafts[static_cast<std::size_t>(j)];
            for (int l = 1; l < k - j; ++l)
                out.shafts[static_cast<std::size_t>(j + l)] = p + static_cast<int>(l * (q - p) / b);
        }
        j = k;
    }
    return out;
}

NewDraftResult ScalePatternLine(const CQuillabyDoc& line, const NetworkSettings& settings, IPrompter& prompter)
{
    NetworkSettings s = settings;
    s.clamp();
    if (const std::string why = ScaleSettingsProblem(s); !why.empty()) {
        NewDraftResult out;
        out.result = CommandResult::refused(prompter, blockmsg::format(blockmsg::kScaleHeading, why));
        return out;
    }
    const int h = s.initialHeight - s.initialBase;
    int shafts = s.height - s.initialBase;
    const int target = s.shaftRule ? shafts - h + 1 : shafts;
    if (s.shaftRule && !s.telescope) shafts = target;

    const Threading& src = *line.threading(0);
    std::vector<int> values(static_cast<std::size_t>(src.GetCount()));
    for (int i = 0; i < src.GetCount(); ++i) values[static_cast<std::size_t>(i)] = src.GetShaft(i);
    values = ScaleShaftsVertically(std::move(values), target, shafts, s.telescope);
    const HorizontalScale wide = ScaleShaftsHorizontally(values, s.length);
    const int ends = static_cast<int>(wide.shafts.size());

    auto d = DraftShellLike(line);
    d->raw().setLoomRaw(shafts, shafts, false);
    auto th = std::make_unique<Threading>(src);
    th->Delete(0, th->GetCount());
    th->ClearLabels();
    th->SetLimit(shafts);
    th->Append(ends);
    int from = 0;
    for (int i = 0; i < ends; ++i) {
        if (wide.source[static_cast<std::size_t>(i)] >= 0) from = wide.source[static_cast<std::size_t>(i)];
        th->SetValue(i, wide.shafts[static_cast<std::size_t>(i)]);
        th->SetColor(i, src.GetColor(from));
        th->SetThick(i, src.GetThick(from) != 0);
    }
    // Mirror Threading: pick i on treadle T + 1 - s for end i's shaft s.
    auto tr = std::make_unique<Treadling>(*line.treadling(0));
    tr->ClearLabels();
    if (tr->GetCount() > ends) tr->Delete(ends, tr->GetCount() - ends);
    else tr->Append(ends - tr->GetCount());
    tr->setMultiple(false);
    tr->SetLimit(shafts);
    for (int i = 0; i < ends; ++i) {
        const int v = th->GetShaft(i);
        TreadleSet set;
        if (v >= 1) set.set(shafts + 1 - v);
        tr->SetSet(i, set);
    }
    tr->setMultiple(true);
    auto tieup = std::make_unique<Tieup>(shafts, shafts);
    tieup->makeDirect();
    d->raw().replaceThreading(0, std::move(th));
    d->raw().replaceTreadling(0, std::move(tr));
    d->raw().replaceTieup(std::move(tieup));
    d->EnsureComplete();
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
