#pragma once

#include "printing/draftpages.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QMenu;
class QPrinter;
class QRadioButton;
class QSpinBox;

namespace qb {

class CGridFrame;
class IMainWindow;

// The print choices of the program's lifetime, shared by every frame.
PrintOptions& SharedPrintOptions();

// What a frame puts on paper and how it looks there.
PrintKind PrintKindOf(const CGridFrame* frame, bool dobbyBars);
PaperLook PaperLookOf(const CGridFrame* frame);

// The draft's own choices beside the standard print dialog: the drawdown's
// coloring, interlace (dobby bars or liftplan for a treadling frame, nothing
// for a threading frame), Size to Fit or a scale. Every change lays the
// pages out again and reports their count.
class CPrintOptionsTab : public QWidget {
    Q_OBJECT
public:
    CPrintOptionsTab(const CGridFrame* frame, PrintOptions& options, QWidget* parent = nullptr);
    QRadioButton* coloringButton(int coloring) const { return m_coloring[coloring]; }
    QCheckBox* interlaceBox() const { return m_interlace; }
    QCheckBox* fitBox() const { return m_fit; }
    QSpinBox* scaleBox() const { return m_scale; }
    // The pages for `printer` with the current choices; updates the scale
    // shown under Size to Fit.
    int relayout(QPrinter* printer);

signals:
    void optionsChanged();

private:
    void readControls();

    const CGridFrame* m_frame;
    PrintOptions& m_options;
    QRadioButton* m_coloring[3] = {};
    QCheckBox* m_interlace = nullptr;
    QCheckBox* m_fit = nullptr;
    QSpinBox* m_scale = nullptr;
    QLabel* m_pages = nullptr;
};

// "&Print...": the print dialog with the draft's choices, then the pages
// chosen. False when cancelled or nothing could be printed.
bool PrintFrame(IMainWindow* main, CGridFrame* frame, QPrinter& printer);
// "Print Pre&view".
void PreviewFrame(IMainWindow* main, CGridFrame* frame);
// The pages of `frame` straight to `printer` (all of them, or its page range).
int PrintFramePages(CGridFrame* frame, const QString& title, QPrinter& printer);

// "&Print..." and "Print Pre&view" on the File menu: the active draft frame,
// or a window that prints itself (the Heddle Counts) when that is active.
void AddPrintCommands(IMainWindow* main);

} // namespace qb
