#include "ui/app/defaultpalette.h"

#include "ui/base/storedsettings.h"

#include <QSettings>

#include <algorithm>

namespace qb {

const std::array<COLORREF, 15> CDefaultPalette::kBuiltIn{0xFFFFFF, 0x000000, 0x808080, 0x800000, 0xFF0000,
                                                         0x800080, 0xFF00FF, 0x008000, 0x00FF00, 0x808000,
                                                         0xFFFF00, 0x000080, 0x0000FF, 0x008080, 0x00FFFF};

CDefaultPalette::CDefaultPalette() : m_colors(kBuiltIn.begin(), kBuiltIn.end()) {}

void CDefaultPalette::load(QSettings& s)
{
    bool ok = false;
    const int n =
        s.value(QStringLiteral("%1/%2").arg(QLatin1String(CStoredSettings::kSection), QLatin1String(kCountKey)))
            .toInt(&ok);
    if (!ok || !isValidCount(n)) {
        store(s, std::vector<COLORREF>(kBuiltIn.begin(), kBuiltIn.end()));
        return;
    }
    m_colors.assign(n, 0);
    s.beginGroup(QLatin1String(kColorsSection));
    for (int i = 0; i < n; ++i) {
        // Stored as an int; only the 24 color bits mean anything.
        const qlonglong v = s.value(QStringLiteral("color%1").arg(i)).toLongLong(&ok);
        m_colors[i] = ok ? static_cast<COLORREF>(v) & 0xFFFFFF : 0;
    }
    s.endGroup();
}

void CDefaultPalette::store(QSettings& s, const std::vector<COLORREF>& colors)
{
    m_colors.assign(colors.begin(), colors.begin() + std::min<std::size_t>(colors.size(), kMaxColors));
    s.setValue(QStringLiteral("%1/%2").arg(QLatin1String(CStoredSettings::kSection), QLatin1String(kCountKey)),
               count());
    s.remove(QLatin1String(kColorsSection));
    s.beginGroup(QLatin1String(kColorsSection));
    for (int i = 0; i < count(); ++i)
        s.setValue(QStringLiteral("color%1").arg(i), static_cast<int>(m_colors[i] & 0xFFFFFF));
    s.endGroup();
}

} // namespace qb
