#include "ui/colors/palettebar.h"

#include "ui/base/colorchooser.h"

#include "ui/base/imainwindow.h"
#include "ui/views/draftwindow.h"

#include "core/draft/palettetools.h"
#include "ui/views/tools/toolstate.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace qb {

namespace {

constexpr QRgb kSilver = 0xFFC0C0C0;
QColor s_lastChosen(kSilver);

QColor toQColor(COLORREF c)
{
    return QColor(red(c), green(c), blue(c));
}

} // namespace

CColorPaletteBar::CColorPaletteBar(IMainWindow* main, QWidget* parent) : QWidget(parent), m_main(main)
{
    const int top = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    m_left = new CColorButton(QSize(24, 24), true, this);
    m_right = new CColorButton(QSize(24, 24), true, this);
    m_left->move(3, top);
    m_right->move(27, top);
    m_left->setToolTip(QStringLiteral("Left button color"));
    m_right->setToolTip(QStringLiteral("Right button color"));
    const int swatchTop = top + 24 + 4;
    for (int i = 0; i < kSwatches; ++i) {
        auto* s = new CColorButton(QSize(16, 15), false, this);
        s->move(3 + (i % 3) * 16, swatchTop + (i / 3) * 15);
        s->setCursor(Qt::CrossCursor);
        s->hide();
        connect(s, &CColorButton::clicked, this, [this, i](Qt::MouseButton b) { swatchClicked(i, b); });
        m_swatches[i] = s;
    }
    for (bool right : {false, true})
        connect(buttonColor(right), &CColorButton::clicked, this, [this, right](Qt::MouseButton) {
            // The dialog works for the clicked button; the selection is put back after.
            const bool was = CToolState::instance().selectRight(right);
            chooseNew();
            CToolState::instance().selectRight(was);
        });
    connect(&CToolState::instance(), &CToolState::buttonChanged, this, &CColorPaletteBar::refresh);
    setMinimumSize(3 + 3 * 16 + 3, swatchTop + (kSwatches / 3) * 15 + 3);
    refresh();
}

void CColorPaletteBar::showDraft(CDraftWindow* w)
{
    if (w == m_draft) return refresh();
    disconnect(m_watch);
    m_draft = w;
    if (w) m_watch = connect(w, &CDraftWindow::paletteChangedSignal, this, &CColorPaletteBar::refresh);
    refresh();
}

int CColorPaletteBar::visibleSwatches() const
{
    int n = 0;
    for (const CColorButton* s : m_swatches)
        if (!s->isHidden()) ++n;
    return n;
}

void CColorPaletteBar::refresh()
{
    const ColorPalette* pal = m_draft ? &m_draft->document().palette() : nullptr;
    const int count = pal ? pal->count() : 0;
    for (int i = 0; i < kSwatches; ++i) {
        m_swatches[i]->setVisible(i < count);
        if (i < count) m_swatches[i]->setColor(toQColor(pal->color(i)));
    }
    m_left->setEnabled(pal != nullptr);
    m_right->setEnabled(pal != nullptr);
    m_left->setColor(pal ? toQColor(pal->color(pal->leftColor())) : QColor(Qt::lightGray));
    m_right->setColor(pal ? toQColor(pal->color(pal->rightColor())) : QColor(Qt::lightGray));
    const bool right = CToolState::instance().rightSelected();
    m_left->setCurrent(!right);
    m_right->setCurrent(right);
}

void CColorPaletteBar::swatchClicked(int i, Qt::MouseButton b)
{
    if (!m_draft) return;
    if (b == Qt::LeftButton || b == Qt::RightButton) m_draft->document().SetButtonColor(b == Qt::RightButton, i);
}

bool CColorPaletteBar::chooseNew()
{
    if (!m_draft) return false;
    const QRgb last = s_lastChosen.rgb() & 0xFFFFFF;
    const std::optional<QColor> c = AskColor(last == 0 || last > 0xFFFFFE ? QColor(kSilver) : s_lastChosen);
    if (!c) return false;
    s_lastChosen = *c;
    CQuillabyDoc& doc = m_draft->document();
    const bool right = CToolState::instance().rightSelected();
    const ColorPalette& pal = doc.palette();
    const int other = right ? pal.leftColor() : pal.rightColor();
    int at = -1;
    // The color bars show the new color where an overwritten entry was used.
    doc.Transaction("Choose New Color",
                    [&](Edit e) { at = PlaceNewColor(e, doc, rgb(c->red(), c->green(), c->blue()), {other}); });
    if (at < 0) {
        m_main->tell(QStringLiteral("Color palette is limited to %1 colors.\n\nRemove unused colors with Clear "
                                    "Palette on the Color menu.")
                         .arg(kMaxColors));
        return false;
    }
    doc.SetButtonColor(right, at);
    return true;
}

} // namespace qb
