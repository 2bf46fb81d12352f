#pragma once

#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tieupview.h"

#include "core/draft/quillabydoc.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <memory>

namespace qbtest {

// A draft of `ends` x `picks` on a straight draw and a straight treadling,
// with the given tieup (by default plain weave on two shafts repeated).
inline std::unique_ptr<qb::CQuillabyDoc> makeDoc(int ends, int picks, int shafts = 4, bool rising = true)
{
    auto doc = std::make_unique<qb::CQuillabyDoc>();
    qb::NewDraftDefaults d;
    d.shafts = d.treadles = shafts;
    d.risingShed = rising;
    d.notations.threading = 0;
    d.notations.treadling = 0;
    d.notations.tieup = 0;
    d.notations.drawdown = 0;
    d.defaultColors = {0x0000FF, 0xFF0000};
    doc->OnNewDocument(d);
    for (int e = 0; e < ends; ++e) doc->SetThreadingCell(qb::kUnrecorded, e, 1 + e % shafts);
    for (int p = 0; p < picks; ++p) doc->SetTreadlingCell(qb::kUnrecorded, p, 1 + p % shafts);
    doc->SetModified(false);
    return doc;
}

struct Shown {
    explicit Shown(qb::CGridFrame* f, QSize size = QSize(900, 700)) : frame(f)
    {
        // As the draft's window names it.
        frame->setDocumentTitle(QStringLiteral("sample.wif"));
        frame->resize(size);
        frame->show();
        QApplication::processEvents();
    }
    ~Shown() { delete frame; }
    qb::CGridFrame* frame;
};

inline QImage grabPane(qb::CGridView* pane)
{
    QApplication::processEvents();
    return pane->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline qb::CDraftFrame* draftFrame(const Shown& s)
{
    return static_cast<qb::CDraftFrame*>(s.frame);
}

inline bool isDark(QRgb c)
{
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

inline QPoint center(const QRect& r)
{
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

} // namespace qbtest
