#pragma once

// Helpers of the desktop tests: run a tool, read the key files.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

namespace desktoptest {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

inline Result run(const QString& program, const QStringList& args,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 300000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Result r;
    if (!p.waitForStarted(10000)) {
        r.err = program + QStringLiteral(": ") + p.errorString();
        return r;
    }
    p.waitForFinished(timeoutMs);
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

inline QString source(const QString& relative)
{
    return QStringLiteral(QUILLABY_SOURCE_DIR "/") + relative;
}

inline QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The value of `key` in a key file (desktop entry, thumbnailer); empty when absent.
inline QString keyValue(const QString& text, const QString& key)
{
    const QRegularExpression re(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

// A ;-separated list as a set.
inline QSet<QString> listValue(const QString& text, const QString& key)
{
    QSet<QString> set;
    for (const QString& s : keyValue(text, key).split(QLatin1Char(';'), Qt::SkipEmptyParts)) set.insert(s);
    return set;
}

// Width and height from a PNG's header; false when it is no PNG.
inline bool pngSize(const QString& path, int& w, int& h)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR") return false;
    auto be32 = [&](int at) {
        return (int(uchar(head[at])) << 24) | (int(uchar(head[at + 1])) << 16) | (int(uchar(head[at + 2])) << 8)
            | int(uchar(head[at + 3]));
    };
    w = be32(16);
    h = be32(20);
    return true;
}

} // namespace desktoptest
