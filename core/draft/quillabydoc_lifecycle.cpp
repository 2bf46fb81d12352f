// Creating, emptying, completing and copying a draft document.
#include "core/draft/quillabydoc.h"

#include <algorithm>

namespace qb {

void CQuillabyDoc::DeleteContents()
{
    for (auto& t : m_threading) t.reset();
    for (auto& t : m_treadling) t.reset();
    m_tieup = std::make_unique<Tieup>();
    m_palette = std::make_unique<ColorPalette>();
    m_tieupKeys.clear();
    m_hasTieupKeys = false;
    m_correlationSide = 0;
    m_numWarps = m_numWefts = 0;
    m_correlationOn = false;
    m_shafts = m_treadles = 0;
    m_liftplan = false;
    m_risingShed = true;
    m_warpSettWhole = m_weftSettWhole = 10;
    m_warpSettFrac = m_weftSettFrac = 0;
    m_units = 0;
    m_title.clear();
    m_date.clear();
    m_source = programSource();
    m_author.clear();
    m_notes.clear();
    m_plan = ProjectPlanValues();
    m_notations = DisplayNotations();
    m_blocks = BlockSubstitutionParams();
    m_weaving = WeavingRunState();
    DiscardHistory();
    m_modified = false;
}

void CQuillabyDoc::OnNewDocument(const NewDraftDefaults& d)
{
    DeleteContents();
    m_units = d.units == 1 ? 1 : 0;
    m_plan.loomWaste = std::max(0, d.wasteLength);
    if (m_units == 1) {
        m_plan.warpQuantityUnit = m_plan.weftQuantityUnit = 1;
        m_plan.warpWeightUnit = m_plan.weftWeightUnit = 2;
    }
    m_notations = d.notations;

    m_shafts = std::clamp(d.shafts, 1, kMaxShafts);
    m_treadles = std::clamp(d.treadles, 1, kMaxTreadles);
    m_liftplan = d.liftplan;
    if (m_liftplan) m_treadles = m_shafts;
    m_risingShed = d.risingShed;

    m_palette->add(0xFFFFFF, true);
    for (COLORREF c : d.defaultColors) m_palette->add(c, true);

    m_threading[0] = std::make_unique<Threading>(m_shafts);
    // Entry 1 when there is one: a palette of white alone leaves no other.
    m_threading[0]->setDefaultColor(std::min(1, m_palette->count() - 1));
    m_treadling[0] = std::make_unique<Treadling>(m_treadles);
    m_treadling[0]->setDefaultColor(0);
    m_treadling[0]->setMultiple(m_liftplan);

    m_tieup = std::make_unique<Tieup>(m_shafts, m_treadles);
    m_tieup->makeDirect();

    m_correlationSide = 0;
    m_numWarps = m_numWefts = 1;
    m_correlationOn = false;

    m_palette->setLeftColor(0);
    if (m_palette->count() >= 2) m_palette->setRightColor(1);
    m_modified = false;
}

void CQuillabyDoc::EnsureComplete()
{
    // Numbers of warps and wefts never set: count the rows the loader made.
    if (m_numWarps < 1)
        for (int r = 0; r < kMaxRows; ++r)
            if (m_threading[r]) m_numWarps = r + 1;
    if (m_numWefts < 1)
        for (int r = 0; r < kMaxRows; ++r)
            if (m_treadling[r]) m_numWefts = r + 1;
    m_numWarps = std::clamp(m_numWarps, 1, kMaxRows);
    m_numWefts = std::clamp(m_numWefts, 1, kMaxRows);
    // Rows beyond the numbers of warps and wefts are not part of the draft.
    for (int r = m_numWarps; r < kMaxRows; ++r) m_threading[r].reset();
    for (int r = m_numWefts; r < kMaxRows; ++r) m_treadling[r].reset();

    // A loader that found no loom size: take it from the data, at least 1.
    if (m_shafts < 1) {
        int used = 0;
        for (const auto& t : m_threading)
            if (t) used = std::max(used, t->HighestValue());
        if (m_liftplan)
            for (const auto& t : m_treadling)
                if (t) used = std::max(used, t->HighestValue());
        m_shafts = std::clamp(used, 1, kMaxShafts);
    }
    if (m_liftplan) {
        m_treadles = m_shafts;
    } else if (m_treadles < 1) {
        int used = 0;
        for (const auto& t : m_treadling)
            if (t) used = std::max(used, t->HighestValue());
        m_treadles = std::clamp(used, 1, kMaxTreadles);
    }

    for (int r = 0; r < m_numWarps; ++r) {
        if (!m_threading[r]) m_threading[r] = std::make_unique<Threading>(m_shafts);
        else if (m_threading[r]->limit() != m_shafts) m_threading[r]->SetLimit(m_shafts);
    }
    for (int r = 0; r < m_numWefts; ++r) {
        if (!m_treadling[r]) {
            m_treadling[r] = std::make_unique<Treadling>(m_treadles);
        } else if (m_treadling[r]->limit() != m_treadles) {
            m_treadling[r]->SetLimit(m_treadles);
        }
        // Multiple treadles is a setting of the whole treadling.
        m_treadling[r]->setMultiple(m_liftplan || m_treadling[0]->multiple());
    }

    // Every row of a side has the same length.
    int ends = 0, picks = 0;
    for (int r = 0; r < m_numWarps; ++r) ends = std::max(ends, m_threading[r]->GetCount());
    for (int r = 0; r < m_numWefts; ++r) picks = std::max(picks, m_treadling[r]->GetCount());
    for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Append(ends - m_threading[r]->GetCount());
    for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Append(picks - m_treadling[r]->GetCount());

    if (!m_tieup) m_tieup = std::make_unique<Tieup>(m_shafts, m_treadles);
    if (m_tieup->shaftCount() != m_shafts || m_tieup->treadleCount() != m_treadles) {
        // Keep what the loader read, within the loom's size; no new ties.
        auto t = std::make_unique<Tieup>(m_shafts, m_treadles);
        for (int i = 0; i < m_treadles; ++i) t->setColumn(i, m_tieup->column(i));
        m_tieup = std::move(t);
    }

    // Thread colors index the palette; an empty one would leave them all dangling.
    if (!m_palette) m_palette = std::make_unique<ColorPalette>();
    if (m_palette->count() == 0) {
        m_palette->add(0xFFFFFF, true);
        m_palette->add(0x000000, true);
    }
    if (m_palette->leftColor() >= m_palette->count()) m_palette->setLeftColor(0);
    if (m_palette->rightColor() >= m_palette->count()) m_palette->setRightColor(m_palette->count() > 1 ? 1 : 0);
}

std::unique_ptr<CQuillabyDoc> CQuillabyDoc::Clone() const
{
    auto c = std::make_unique<CQuillabyDoc>();
    for (int r = 0; r < kMaxRows; ++r) {
        if (m_threading[r]) c->m_threading[r] = std::make_unique<Threading>(*m_threading[r]);
        if (m_treadling[r]) c->m_treadling[r] = std::make_unique<Treadling>(*m_treadling[r]);
    }
    c->m_tieup = std::make_unique<Tieup>(*m_tieup);
    c->m_palette = std::make_unique<ColorPalette>(*m_palette);
    for (const auto& k : m_tieupKeys) c->m_tieupKeys.push_back(k ? std::make_unique<TieupKey>(*k) : nullptr);
    c->m_hasTieupKeys = m_hasTieupKeys;
    c->m_correlationSide = m_correlationSide;
    c->m_numWarps = m_numWarps;
    c->m_numWefts = m_numWefts;
    c->m_correlationOn = m_correlationOn;
    c->m_shafts = m_shafts;
    c->m_treadles = m_treadles;
    c->m_liftplan = m_liftplan;
    c->m_risingShed = m_risingShed;
    c->m_warpSettWhole = m_warpSettWhole;
    c->m_warpSettFrac = m_warpSettFrac;
    c->m_weftSettWhole = m_weftSettWhole;
    c->m_weftSettFrac = m_weftSettFrac;
    c->m_units = m_units;
    c->m_title = m_title;
    c->m_date = m_date;
    c->m_source = m_source;
    c->m_author = m_author;
    c->m_notes = m_notes;
    c->m_plan = m_plan;
    c->m_notations = m_notations;
    c->m_blocks = m_blocks;
    c->m_weaving = m_weaving;
    return c;
}

} // namespace qb
