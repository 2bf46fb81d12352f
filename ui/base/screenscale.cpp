#include "ui/base/screenscale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace qb {

ScreenScale ScreenScale::fromDpi(double dpi)
{
    if (!(dpi > 0.0) || !std::isfinite(dpi)) dpi = 96.0;
    dpi = std::min(dpi, 9600.0);
    ScreenScale s;
    s.baseCell = std::max(kMinBaseCell, static_cast<int>(std::lround(12.0 * dpi / 96.0)));
    s.innerCell = s.baseCell * 5 / 6;
    s.markSize = s.innerCell - 2;
    return s;
}

ScreenScale ScreenScale::forScreen(const QScreen* screen)
{
    if (!screen) screen = QGuiApplication::primaryScreen();
    return fromDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
}

ScreenScale ScreenScale::forWidget(const QWidget* widget)
{
    return forScreen(widget ? widget->screen() : nullptr);
}

} // namespace qb
