#include "cli/draftjson.h"

#include "core/draft/quillabydoc.h"

namespace {

std::string withNewlines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

nlohmann::json setToJson(const qb::TreadleSet& set)
{
    auto a = nlohmann::json::array();
    set.forEach([&](int t) { a.push_back(t); });
    return a;
}

} // namespace

nlohmann::json DraftToJson(const qb::CQuillabyDoc& doc)
{
    using nlohmann::json;
    json j;
    j["shafts"] = doc.numShafts();
    j["treadles"] = doc.numTreadles();
    j["risingShed"] = doc.isRisingShed();
    j["liftplan"] = doc.isLiftplan();
    j["warps"] = doc.numWarps();
    j["wefts"] = doc.numWefts();
    j["ends"] = doc.numEnds();
    j["picks"] = doc.numPicks();

    json threading = json::array(), warpColors = json::array();
    for (int r = 0; r < doc.numWarps(); ++r) {
        const qb::Threading& t = *doc.threading(r);
        json row = json::array(), colors = json::array();
        for (int e = 0; e < doc.numEnds(); ++e) {
            row.push_back(t.GetShaft(e));
            colors.push_back(t.GetColor(e));
        }
        threading.push_back(std::move(row));
        warpColors.push_back(std::move(colors));
    }
    json treadling = json::array(), weftColors = json::array();
    for (int r = 0; r < doc.numWefts(); ++r) {
        const qb::Treadling& t = *doc.treadling(r);
        json row = json::array(), colors = json::array();
        for (int p = 0; p < doc.numPicks(); ++p) {
            row.push_back(setToJson(t.GetSet(p)));
            colors.push_back(t.GetColor(p));
        }
        treadling.push_back(std::move(row));
        weftColors.push_back(std::move(colors));
    }
    j["threading"] = std::move(threading);
    j["treadling"] = std::move(treadling);

    json tieup = json::array();
    for (int t = 0; t < doc.numTreadles(); ++t) {
        json col = json::array();
        for (int s = 1; s <= doc.numShafts(); ++s)
            if (doc.tieup().cell(t, s)) col.push_back(s);
        tieup.push_back(std::move(col));
    }
    j["tieup"] = std::move(tieup);

    json palette = json::array();
    const qb::ColorPalette& pal = doc.palette();
    for (int i = 0; i < pal.count(); ++i)
        palette.push_back({{"r", qb::red(pal.color(i))},
                           {"g", qb::green(pal.color(i))},
                           {"b", qb::blue(pal.color(i))},
                           {"name", pal.name(i)}});
    j["palette"] = std::move(palette);
    j["warpColors"] = std::move(warpColors);
    j["weftColors"] = std::move(weftColors);
    j["title"] = withNewlines(doc.title());
    j["author"] = withNewlines(doc.author());
    j["notes"] = withNewlines(doc.notes());
    j["units"] = doc.units() == 1 ? "Metric" : "English";
    j["warpSett"] = doc.warpSett();
    j["weftSett"] = doc.weftSett();
    j["date"] = doc.date();
    j["source"] = doc.source();
    return j;
}
