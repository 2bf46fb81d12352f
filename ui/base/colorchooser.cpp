#include "ui/base/colorchooser.h"

#include <QColorDialog>

namespace qb {

namespace {

ColorChooser& chooser()
{
    static ColorChooser c;
    return c;
}

} // namespace

void SetColorChooser(ColorChooser c)
{
    chooser() = std::move(c);
}

std::optional<QColor> AskColor(QColor initial)
{
    if (chooser()) return chooser()(initial);
    // Custom colors that were never set (black) or are out of range start silver.
    constexpr QRgb kSilver = 0xFFC0C0C0;
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        const QRgb c = QColorDialog::customColor(i).rgb() & 0xFFFFFF;
        if (c == 0 || c > 0xFFFFFE) QColorDialog::setCustomColor(i, QColor(kSilver));
    }
    const QColor c = QColorDialog::getColor(initial, nullptr, QStringLiteral("Color"));
    if (!c.isValid()) return std::nullopt;
    return c;
}

} // namespace qb
