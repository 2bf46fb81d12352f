#pragma once

namespace qb {

class CQuillabyDoc;
class UndoGroup;

// How an edit reaches the document, stated at every call: inside a user's
// transaction (CQuillabyDoc::Transaction hands one out) the edit records how
// to undo itself; `kUnrecorded` records nothing, for undo and redo themselves,
// reading a file and building a draft in memory. There is no default, so an
// edit cannot forget to record by accident.
class Edit {
public:
    bool recording() const { return m_group != nullptr; }
    // The document a recording edit belongs to (null for kUnrecorded).
    const CQuillabyDoc* document() const { return m_doc; }

    static constexpr Edit unrecorded() { return Edit(nullptr, nullptr); }

private:
    friend class CQuillabyDoc;
    friend class DraftTransaction;
    constexpr Edit(CQuillabyDoc* doc, UndoGroup* group) : m_doc(doc), m_group(group) {}
    UndoGroup* group() const { return m_group; }

    CQuillabyDoc* m_doc;
    UndoGroup* m_group;
};

inline constexpr Edit kUnrecorded = Edit::unrecorded();

} // namespace qb
