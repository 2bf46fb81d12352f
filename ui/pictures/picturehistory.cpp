#include "ui/pictures/picturehistory.h"

#include <utility>

namespace qb {

namespace {

std::size_t bytesOf(const RgbPicture& p)
{
    return p.pixels.size() * sizeof(std::uint32_t);
}

} // namespace

void PictureHistory::Record(const std::string& name, RgbPicture before)
{
    m_redo.clear();
    m_undo.push_back({name, std::move(before), m_state});
    m_state = m_next++;
    trim();
}

bool PictureHistory::Undo(RgbPicture& current)
{
    if (m_undo.empty()) return false;
    Step s = std::move(m_undo.back());
    m_undo.pop_back();
    std::swap(current, s.picture);
    std::swap(m_state, s.state);
    m_redo.push_back(std::move(s));
    return true;
}

bool PictureHistory::Redo(RgbPicture& current)
{
    if (m_redo.empty()) return false;
    Step s = std::move(m_redo.back());
    m_redo.pop_back();
    std::swap(current, s.picture);
    std::swap(m_state, s.state);
    m_undo.push_back(std::move(s));
    return true;
}

void PictureHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_state = m_saved = 0;
    m_next = 1;
}

std::size_t PictureHistory::bytesKept() const
{
    std::size_t n = 0;
    for (const Step& s : m_undo) n += bytesOf(s.picture);
    for (const Step& s : m_redo) n += bytesOf(s.picture);
    return n;
}

void PictureHistory::trim()
{
    // The oldest steps go first; the step just made stays whatever its size.
    std::size_t total = bytesKept();
    std::size_t drop = 0;
    while (m_undo.size() - drop > 1 && (m_undo.size() - drop > kMaxSteps || total > m_budget)) {
        total -= bytesOf(m_undo[drop].picture);
        ++drop;
    }
    m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<std::ptrdiff_t>(drop));
}

} // namespace qb
