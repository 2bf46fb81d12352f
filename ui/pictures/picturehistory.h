#pragma once

#include "core/picture/rgbpicture.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qb {

// Undo and Redo of the picture edits (Crop, Rotate, Grayscale,
// Brightness/Contrast): each step keeps the whole picture it replaced, so the
// steps kept are bounded by their bytes; the newest step is always kept.
// Also knows whether the picture shown is the one last saved.
class PictureHistory {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t(256) << 20;
    static constexpr std::size_t kMaxSteps = 32;

    explicit PictureHistory(std::size_t budgetBytes = kDefaultBudget) : m_budget(budgetBytes) {}

    // An edit named `name` replaced `before`. Drops what could be redone.
    void Record(const std::string& name, RgbPicture before);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::string undoName() const { return m_undo.empty() ? std::string() : m_undo.back().name; }
    std::string redoName() const { return m_redo.empty() ? std::string() : m_redo.back().name; }

    // Trade the picture shown for the one before (after) the last step
    // undone (redone). False, and `current` untouched, when there is none.
    bool Undo(RgbPicture& current);
    bool Redo(RgbPicture& current);

    // The picture shown now is the one in the file.
    void MarkSaved() { m_saved = m_state; }
    bool isModified() const { return m_state != m_saved; }
    // Forgets every step (a picture opened anew).
    void Clear();

    std::size_t bytesKept() const;

private:
    struct Step {
        std::string name;
        RgbPicture picture; // the picture on the other side of the step
        long long state;    // and which state it is
    };
    void trim();

    std::vector<Step> m_undo, m_redo;
    std::size_t m_budget;
    long long m_state = 0, m_saved = 0, m_next = 1;
};

} // namespace qb
