#include "ui/views/gridframe.h"

#include "ui/views/draftview.h"

#include "core/graphic/wholedraftimage.h"
#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>

namespace qb {

namespace {

const char* kTooLarge = "Image too large for clipboard,\ntry zooming in or reducing overall size of the draft.";
// Pictures beyond this many bytes are refused rather than allocated.
constexpr qint64 kMaxImageBytes = qint64(512) << 20;

CDraftView* drawdownPane(const std::vector<CGridView*>& panes)
{
    for (CGridView* p : panes)
        if (auto* d = qobject_cast<CDraftView*>(p)) return d;
    return nullptr;
}

} // namespace

bool CGridFrame::exportSizeOk(QSize s)
{
    return s.width() > 0 && s.height() > 0 && s.width() <= 32767 && s.height() <= 32767
        && qint64(s.width()) * s.height() * 4 <= kMaxImageBytes;
}

QImage CGridFrame::composePanes()
{
    if (m_panes.empty()) return {};
    CGridView* pane = m_panes.front();
    const QSize s = pane->exportSize();
    if (!exportSizeOk(s)) return {};
    QImage img(s, QImage::Format_RGB32);
    if (img.isNull()) return img;
    img.fill(Qt::white);
    QPainter p(&img);
    pane->renderExport(p);
    return img;
}

QImage CGridFrame::renderAllPanes(int cellOverride)
{
    if (cellOverride <= 0) return composePanes();
    const int saved[4] = {m_endWidth, m_shaftHeight, m_treadleWidth, m_pickHeight};
    m_endWidth = m_shaftHeight = m_treadleWidth = m_pickHeight = cellOverride;
    QImage img = composePanes();
    m_endWidth = saved[0], m_shaftHeight = saved[1], m_treadleWidth = saved[2], m_pickHeight = saved[3];
    relayoutPanes();
    return img;
}

bool CGridFrame::canCopyDrawdown() const
{
    return m_doc->numEnds() > 0 && m_doc->numPicks() > 0 && m_doc->numWarps() == 1 && m_doc->numWefts() == 1
        && drawdownPane(m_panes) != nullptr;
}

QImage CGridFrame::renderDrawdownBitmap(int coloring)
{
    CDraftView* view = drawdownPane(m_panes);
    if (!view || !exportSizeOk(QSize(m_doc->numEnds(), m_doc->numPicks()))) return {};
    view->relayout();
    DrawdownStyle st = view->style();
    st.coloring = coloring;
    st.interlace = false;
    st.hidden = false;
    st.back = false;
    st.cellWidth = st.cellHeight = 1;
    return view->renderImage(st);
}

bool CGridFrame::copyToClipboard()
{
    const QImage img = renderAllPanes();
    if (img.isNull()) {
        QMessageBox::warning(this, QApplication::applicationName(), QString::fromUtf8(kTooLarge));
        return false;
    }
    QGuiApplication::clipboard()->setImage(img);
    return true;
}

bool CGridFrame::copyDrawdown(int coloring)
{
    if (!canCopyDrawdown()) return false;
    const QImage img = renderDrawdownBitmap(coloring);
    if (img.isNull()) {
        QMessageBox::warning(this, QApplication::applicationName(), QString::fromUtf8(kTooLarge));
        return false;
    }
    QGuiApplication::clipboard()->setImage(img);
    return true;
}

bool CGridFrame::writeGraphic(const QString& path, int squaresPerInch, QString* error)
{
    squaresPerInch = std::clamp(squaresPerInch, 5, 15);
    const int cell = 400 / squaresPerInch;
    PictureOptions options;
    options.dotsPerInch = squaresPerInch * cell;
    std::string message;
    bool ok;
    QImage img = renderAllPanes(cell);
    if (!img.isNull()) {
        img = img.convertToFormat(QImage::Format_RGB32);
        BufferSource src(reinterpret_cast<const std::uint32_t*>(img.constBits()), img.width(), img.height(),
                         int(img.bytesPerLine() / 4));
        ok = WritePicture(path.toStdString(), src, message, PictureFormat::Unknown, options);
    } else {
        // Too large to hold at once: the shared renderer streams it a strip
        // at a time (plain marks, no text).
        WholeDraftStyle st;
        st.drawdown.coloring = m_coloring;
        st.drawdown.interlace = drawdownInterlace();
        st.drawdown.cellWidth = st.drawdown.cellHeight = cell;
        st.drawdown.markSize = m_scale.markSize;
        st.drawdown.drawnUp = !m_threadingOnTop;
        st.drawdown.hidden = m_hidden[int(PaneKind::Drawdown)];
        st.drawdown.showGridWhenHidden = m_showGridWhenHidden;
        st.shaftHeight = st.treadleWidth = cell;
        st.threadingHidden = m_hidden[int(PaneKind::Threading)];
        st.tieupHidden = m_hidden[int(PaneKind::Tieup)];
        st.treadlingHidden = m_hidden[int(PaneKind::Treadling)];
        st.threadingBarHidden = m_colorBarHidden[0];
        st.treadlingBarHidden = m_colorBarHidden[1];
        WholeDraftSource src(*m_doc, st);
        ok = WritePicture(path.toStdString(), src, message, PictureFormat::Unknown, options);
    }
    if (!ok && error) *error = QString::fromStdString(message);
    return ok;
}

void CGridFrame::saveGraphic()
{
    bool ok = false;
    const int spi = QInputDialog::getInt(this, QStringLiteral("Graphic Resolution"), QStringLiteral("Squares/inch:"),
                                         10, 5, 15, 1, &ok);
    if (!ok) return;
    QString base = m_docPath.isEmpty() ? m_docTitle : m_docPath;
    const QFileInfo fi(base);
    base = fi.path() == QLatin1String(".") ? fi.completeBaseName() : fi.path() + '/' + fi.completeBaseName();
    QString filter = QStringLiteral("TIFF (*.tif)");
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Graphic"), base + QStringLiteral(".tif"),
        QStringLiteral("TIFF (*.tif);;JPEG (*.jpg);;Bitmap (*.bmp);;PNG (*.png)"), &filter);
    if (path.isEmpty()) return;
    QString target = path;
    if (QFileInfo(target).suffix().isEmpty()) {
        // The chosen filter names the extension.
        const int a = filter.indexOf(QLatin1String("*.")), b = filter.indexOf(')', a);
        target += filter.mid(a + 1, b - a - 1);
    }
    QString error;
    if (!writeGraphic(target, spi, &error)) QMessageBox::warning(this, QApplication::applicationName(), error);
}

} // namespace qb
