#pragma once

#include "ui/yarn/planprint.h"

#include "core/draft/quillabydoc.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QGridLayout;
class QLineEdit;
class QPrinter;
class QScrollArea;

namespace qb {

class CDraftWindow;
class CPiecesPicture;
class IMainWindow;

// The draft's project-plan window: the plan's figures in read-only fields,
// recomputed from the draft on every change, with "&Print...", "Print
// Pre&view" and "Cop&y to Clipboard".
class CPlanFormView : public QWidget, public IDocumentObserver {
    Q_OBJECT
public:
    CPlanFormView(CDraftWindow* w, IMainWindow* main, QWidget* parent = nullptr);
    ~CPlanFormView() override;

    CDraftWindow* draftWindow() const { return m_w; }
    // Recomputes the plan and refills the form.
    void refresh();
    // The plan as the fields show it, one entry per line, as it prints.
    QString text() const;
    // What the printer and the clipboard get.
    PlanPage page() const;

    QAction* printAction() const { return m_print; }
    QAction* previewAction() const { return m_preview; }
    QAction* copyAction() const { return m_copy; }

    void print();
    void printPreview();
    bool copyToClipboard();

    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) override;

private:
    MeasureSystem system() const;
    void rebuildForm(const std::vector<PlanLine>& layout);

    QPointer<CDraftWindow> m_w;
    CQuillabyDoc* m_doc;
    IMainWindow* m_main;
    QAction* m_print = nullptr;
    QAction* m_preview = nullptr;
    QAction* m_copy = nullptr;
    QScrollArea* m_scroll = nullptr;
    CPiecesPicture* m_picture = nullptr;
    // The form's entries in layout order, with the field showing each text.
    struct Entry {
        PlanLine line;
        QLineEdit* value = nullptr;
    };
    std::vector<Entry> m_entries;
    PlanPage m_page;
};

// The caption the form shows for a printed caption ("Item Width:" is
// "Item width:" on screen).
QString PlanFormCaption(const QString& printed);

} // namespace qb
