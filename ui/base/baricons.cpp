#include "ui/base/baricons.h"

#include <QString>

// The icon resource lives in a static library: nothing would pull it into
// the program unless it is registered by name.
static void registerIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace qb {

QIcon BarIcon(const char* name)
{
    static const bool registered = (registerIcons(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

} // namespace qb
