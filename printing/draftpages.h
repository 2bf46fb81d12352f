#pragma once

#include "core/graphic/wholedraftimage.h"
#include "core/print/printlayout.h"
#include "printing/glyphs.h"

#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace qb {

class CQuillabyDoc;
class DrawdownRows;

// How the panes look on paper besides the print options: what the frame
// hides and which way up it draws the draft.
struct PaperLook {
    bool drawnUp = false;
    bool threadingHidden = false, tieupHidden = false, treadlingHidden = false, drawdownHidden = false;
    bool threadingBarHidden = false, treadlingBarHidden = false;
    bool showGridWhenHidden = false;
    bool back = false; // the back of the cloth (fabric back frame)
    // Notations of the threading, treadling and tieup (the values a draft
    // stores); -1 takes the draft's own.
    int threadingNotation = -1, treadlingNotation = -1, tieupNotation = -1;
};

// One print run of a draft: the layout for the device and everything the
// pages are drawn from. The editor and `quillaby-cli print` both print
// through it, so they put the same pages on paper.
class DraftPages {
public:
    DraftPages(const CQuillabyDoc& doc, PrintKind kind, const PrintOptions& options, const PaperLook& look,
               const QString& title);
    ~DraftPages();

    // Lays the pages out for a device; call before painting.
    void layOut(const PrinterMetrics& device);
    const PageLayout& layout() const { return m_layout; }
    PrintKind kind() const { return m_kind; }
    int pageCount() const { return m_layout.totalPages; }

    // Paints page `page` (0-based) with the painter in device dots, its
    // origin at the printable area's corner.
    void paintPage(QPainter& p, int page) const;
    // Pages first..last (0-based, clamped) on a paged device, each after
    // the first on a new sheet.
    void print(QPagedPaintDevice& device, int first = 0, int last = -1);

    // The metrics of a paged device (its printable area at its resolution).
    static PrinterMetrics metricsOf(const QPagedPaintDevice& device);

private:
    void paintGrid(QPainter& p, int page) const;
    void paintShrunk(QPainter& p) const;
    void paintBands(QPainter& p, int page) const;
    // What a marked cell shows on paper; Blank leaves it to the picture.
    GlyphStyle glyphFor(const MarkedCell& cell) const;
    struct PlacedCell {
        MarkedCell cell;
        QRectF onPage; // in device dots
        QRectF clip;   // the part of the page its picture covers
        GlyphStyle style;
    };
    void paintGlyphs(QPainter& p, const std::vector<PlacedCell>& cells) const;
    void paintEndNumbers(QPainter& p, const std::vector<std::pair<ThreadRange, QRectF>>& strips) const;

    const CQuillabyDoc* m_doc;
    std::unique_ptr<CQuillabyDoc> m_liftplanCopy; // dobby bars print the lifts of every pick
    PrintKind m_kind;
    PrintOptions m_options;
    PaperLook m_look;
    QString m_title;
    PrintGrid m_grid;
    PageLayout m_layout;
    std::unique_ptr<DrawdownRows> m_rows;
};

// Writes every page of the draft to a PDF file at `dpi` dots per inch on the
// writer's default sheet; false with a reason when the file cannot be written.
bool WriteDraftPdf(const CQuillabyDoc& doc, PrintKind kind, const PrintOptions& options, const PaperLook& look,
                   const QString& title, const QString& path, int dpi, QString* error, int* pages = nullptr);

} // namespace qb
