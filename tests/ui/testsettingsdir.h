#pragma once

#include <QSettings>
#include <QTemporaryDir>

// Every test gets its own empty settings store in a temporary folder.
class TestSettingsDir {
public:
    TestSettingsDir() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path()); }
    static QSettings store() { return QSettings(QStringLiteral("Oxbelle Software"), QStringLiteral("Quillaby")); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
