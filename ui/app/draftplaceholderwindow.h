#pragma once

#include "draft/quillabydoc.h"

#include <QWidget>

#include <memory>

class QPlainTextEdit;

namespace qb {

// Stand-in MDI child for a draft until the grid-pane frame exists: owns the
// document and lists its shape and colors.
class CDraftPlaceholderWindow : public QWidget, public IDocumentObserver {
    Q_OBJECT
public:
    CDraftPlaceholderWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path,
                            const QString& title, QWidget* parent = nullptr);
    ~CDraftPlaceholderWindow() override;

    CQuillabyDoc& document() { return *m_doc; }
    const CQuillabyDoc& document() const { return *m_doc; }
    // Absolute path of the file, empty for an untitled draft.
    QString path() const { return m_path; }
    void setPath(const QString& path, const QString& title);
    QString title() const { return m_title; }
    // The summary shown in the window (also handy for tests).
    QString summary() const;

    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint* hint) override;
    void loomSizeChanged(const CQuillabyDoc& doc) override;

signals:
    void loomSizeChangedSignal();

private:
    void refresh();

    std::unique_ptr<CQuillabyDoc> m_doc;
    QString m_path;
    QString m_title;
    QPlainTextEdit* m_text = nullptr;
};

} // namespace qb
