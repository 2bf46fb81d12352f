#include "ui/app/windowplacement.h"

#include "ui/base/storedsettings.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

namespace qb::WindowPlacement {

bool isUsable(const QRect& r, const QList<QRect>& screens)
{
    if (r.width() <= 0 || r.height() <= 0) return false;
    // The top strip, where the title bar is, must be reachable on a screen.
    const QRect top(r.x(), r.y(), r.width(), std::min(r.height(), 32));
    for (const QRect& s : screens) {
        const QRect part = top.intersected(s);
        if (part.width() >= std::min(r.width(), 64) && part.height() >= std::min(top.height(), 16)) return true;
    }
    return false;
}

void restore(QMainWindow& window, const CStoredSettings& settings)
{
    const CStoredSettings& s = settings;
    if (s.InitialWidth <= 0 || s.InitialHeight <= 0) {
        // Nothing stored yet: most of the screen, centred.
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect avail = primary->availableGeometry();
            const QSize size = avail.size() * 4 / 5;
            window.resize(size);
            window.move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
        }
        return;
    }
    const QRect r(s.InitialXPos, s.InitialYPos, s.InitialWidth, s.InitialHeight);
    QList<QRect> screens;
    QSize largest;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->availableGeometry();
        largest = largest.expandedTo(screen->availableGeometry().size());
    }
    if (isUsable(r, screens)) {
        window.move(r.topLeft());
        // A size from a bigger monitor that is gone would hang off the screen.
        window.resize(largest.isEmpty() ? r.size() : r.size().boundedTo(largest));
        return;
    }
    // The screen it was on is gone: keep the size where it fits, let the
    // system place the window.
    QSize size = r.size();
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        size = size.boundedTo(primary->availableGeometry().size());
    window.resize(size);
}

void record(const QMainWindow& window, CStoredSettings& settings)
{
    if (window.isMinimized()) return;
    CStoredSettings& s = settings;
    if (window.isMaximized()) {
        // The window rectangle of a maximised window hangs over the screen
        // edges by its sizing frame on every side.
        const QRect frame = window.frameGeometry();
        const QRect inner = window.geometry();
        const int bx = std::max(0, inner.x() - frame.x());
        const int by = std::max(0, frame.bottom() - inner.bottom());
        s.InitialXPos = 0;
        s.InitialYPos = 0;
        s.InitialWidth = frame.width() - 2 * bx;
        s.InitialHeight = frame.height() - 2 * by;
        return;
    }
    s.InitialXPos = window.pos().x();
    s.InitialYPos = window.pos().y();
    s.InitialWidth = window.width();
    s.InitialHeight = window.height();
}

} // namespace qb::WindowPlacement
