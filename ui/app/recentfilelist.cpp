#include "ui/app/recentfilelist.h"

#include <QFileInfo>
#include <QSettings>

namespace qb {

void CRecentFileList::load(QSettings& s)
{
    m_files.clear();
    s.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= kSize; ++i) {
        const QString f = s.value(QStringLiteral("File%1").arg(i)).toString();
        if (!f.isEmpty() && !m_files.contains(f)) m_files.append(f);
    }
    s.endGroup();
}

void CRecentFileList::save(QSettings& s) const
{
    s.remove(QLatin1String(kSection));
    s.beginGroup(QLatin1String(kSection));
    for (int i = 0; i < m_files.size(); ++i) s.setValue(QStringLiteral("File%1").arg(i + 1), m_files.at(i));
    s.endGroup();
}

void CRecentFileList::add(const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(abs);
    m_files.prepend(abs);
    while (m_files.size() > kSize) m_files.removeLast();
}

void CRecentFileList::remove(const QString& path)
{
    m_files.removeAll(QFileInfo(path).absoluteFilePath());
}

} // namespace qb
