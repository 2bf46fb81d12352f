#pragma once

#include <QStringList>

class QSettings;

namespace qb {

// The most recently used files, newest first, kept in the store's
// "Recent File List" section as File1..File4.
class CRecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr const char* kSection = "Recent File List";

    void load(QSettings& store);
    void save(QSettings& store) const;
    // Moves (or adds) the file to the front; paths compare as absolute.
    void add(const QString& path);
    void remove(const QString& path);
    void clear() { m_files.clear(); }
    const QStringList& files() const { return m_files; }

private:
    QStringList m_files;
};

} // namespace qb
