#pragma once

#include "core/transform/interleave.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QLineEdit;
class QSpinBox;

namespace qb {

// "Echo": how many echoes of the threading and how many shafts apart.
class CEchoDialog : public QDialog {
    Q_OBJECT
public:
    CEchoDialog(const EchoSettings& initial, QWidget* parent = nullptr);
    EchoSettings settings() const;

private:
    QSpinBox* m_echos;
    QSpinBox* m_offset;
};

// "Expand": every thread repeated in place, 2..20 times.
class CExpandDialog : public QDialog {
    Q_OBJECT
public:
    CExpandDialog(int initial, QWidget* parent = nullptr);
    int factor() const;

private:
    QSpinBox* m_factor;
};

// The merge dialog of Interleave and Overlay: up to three draft files, typed,
// chosen with "Browse" or dropped onto the dialog.
class CMergeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFiles = 3;
    // `browse` chooses one file for a Browse button (empty when cancelled).
    CMergeDialog(const QString& title, const QString& text, std::function<QString()> browse, QWidget* parent = nullptr);
    // The files named, in field order, empty fields left out.
    QStringList files() const;
    QLineEdit* field(int i) const { return m_fields[i]; }
    // Dropped files fill the empty fields in order; with none empty they
    // replace the fields from the first. Returns how many were taken.
    int takeFiles(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    QLineEdit* m_fields[kFiles];
    std::function<QString()> m_browse;
};

} // namespace qb
