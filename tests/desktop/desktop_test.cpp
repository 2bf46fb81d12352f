// The desktop entry, the draft MIME types and the thumbnailer, read the way
// a desktop reads them.
#include "tests/desktop/desktoptest.h"

#include <QDir>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace desktoptest;

namespace {

const QString kEntry = QStringLiteral("desktop/quillaby.desktop");
const QString kMime = QStringLiteral("desktop/quillaby-mime.xml");
const QString kThumbnailer = QStringLiteral("desktop/quillaby.thumbnailer");

QSet<QString> definedMimeTypes()
{
    QSet<QString> types;
    const QRegularExpression re(QStringLiteral("<mime-type type=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& m : re.globalMatch(readText(source(kMime)))) types.insert(m.captured(1));
    return types;
}

} // namespace

TEST(DesktopFiles, EntryValidatesAndNamesTheDraftTypes)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate (package desktop-file-utils) is needed";
    const Result r = run(validator, {source(kEntry)});
    EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.trimmed().isEmpty()) << "hints: " << r.out.toStdString();

    const QString entry = readText(source(kEntry));
    // The editor opens one file a start; a second start hands it over.
    EXPECT_EQ(keyValue(entry, QStringLiteral("Exec")), QStringLiteral("quillaby %f"));
    EXPECT_EQ(keyValue(entry, QStringLiteral("Icon")), QStringLiteral("quillaby"));

    // The entry, the MIME package and the thumbnailer speak of the same types.
    const QSet<QString> types = definedMimeTypes();
    EXPECT_EQ(types, QSet<QString>({QStringLiteral("application/x-wif"), QStringLiteral("application/x-quillaby")}));
    EXPECT_EQ(listValue(entry, QStringLiteral("MimeType")), types);
    EXPECT_EQ(listValue(readText(source(kThumbnailer)), QStringLiteral("MimeType")), types);
}

// A shared-mime-info database built in a temporary prefix, before Qt reads
// any: the system's own types stay visible behind it.
class MimeTypes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_prefix = new QTemporaryDir;
        const QString packages = s_prefix->filePath(QStringLiteral("mime/packages"));
        ASSERT_TRUE(QDir().mkpath(packages));
        ASSERT_TRUE(QFile::copy(source(kMime), packages + QStringLiteral("/quillaby.xml")));
        const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        ASSERT_FALSE(update.isEmpty()) << "update-mime-database (package shared-mime-info) is needed";
        // With the prefix in the search path, as a desktop would have it:
        // anything it still says is about the package itself.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), s_prefix->path() + QStringLiteral(":/usr/share"));
        const Result r = run(update, {s_prefix->filePath(QStringLiteral("mime"))}, env);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        ASSERT_TRUE(r.err.trimmed().isEmpty()) << r.err.toStdString(); // a malformed package only warns
        qputenv("XDG_DATA_HOME", s_prefix->filePath(QStringLiteral("nothing")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (s_prefix->path() + QStringLiteral(":/usr/share")).toLocal8Bit());
    }
    static void TearDownTestSuite()
    {
        delete s_prefix;
        s_prefix = nullptr;
    }
    QString file(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    static QTemporaryDir* s_prefix;
    QTemporaryDir m_dir;
    QMimeDatabase m_db;
};

QTemporaryDir* MimeTypes::s_prefix = nullptr;

TEST_F(MimeTypes, DraftFilesResolveByNameAndByContent)
{
    const QByteArray wif = "[WIF]\r\nVersion=1.1\r\nDate=April 20, 2026\r\n";
    const struct {
        const char* name;
        QByteArray content;
        const char* type;
    } cases[] = {
        {"cloth.wif", wif, "application/x-wif"},
        {"CLOTH.WIF", wif, "application/x-wif"},
        {"cloth.qlb", wif, "application/x-quillaby"},
        {"Cloth.Qlb", wif, "application/x-quillaby"},
        // Names alone, as a file manager sees a folder before reading.
        {"empty.wif", QByteArray(), "application/x-wif"},
        // No extension: the [WIF] heading tells.
        {"draft", wif, "application/x-wif"},
        {"draft-with-comment", "; written by hand\n[WIF]\nVersion=1.1\n", "application/x-wif"},
        {"notes", "Just some text about weaving.\n", "text/plain"},
    };
    for (const auto& c : cases) {
        const QString path = file(QString::fromLatin1(c.name), c.content);
        EXPECT_EQ(m_db.mimeTypeForFile(path).name().toStdString(), c.type) << c.name;
    }
    EXPECT_EQ(m_db.mimeTypeForFile(QStringLiteral("/nowhere/x.qlb"), QMimeDatabase::MatchExtension).name(),
              QStringLiteral("application/x-quillaby"));
}

TEST_F(MimeTypes, NativeFilesAreWifFilesAndWifFilesAreText)
{
    const QMimeType qlb = m_db.mimeTypeForName(QStringLiteral("application/x-quillaby"));
    const QMimeType wif = m_db.mimeTypeForName(QStringLiteral("application/x-wif"));
    ASSERT_TRUE(qlb.isValid());
    ASSERT_TRUE(wif.isValid());
    EXPECT_TRUE(qlb.inherits(QStringLiteral("application/x-wif")));
    EXPECT_TRUE(wif.inherits(QStringLiteral("text/plain")));
    EXPECT_EQ(wif.comment(), QStringLiteral("Weaving Information File"));
    EXPECT_EQ(wif.preferredSuffix(), QStringLiteral("wif"));
    EXPECT_EQ(qlb.preferredSuffix(), QStringLiteral("qlb"));
}

TEST(Thumbnailer, ExecLineMakesAPngWithinTheRequestedSize)
{
    const QString text = readText(source(kThumbnailer));
    const QString exec = keyValue(text, QStringLiteral("Exec"));
    EXPECT_EQ(keyValue(text, QStringLiteral("TryExec")), QStringLiteral("quillaby-cli"));
    QStringList words = exec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_FALSE(words.isEmpty());
    ASSERT_EQ(words.takeFirst(), QStringLiteral("quillaby-cli"));
    QTemporaryDir dir;
    const struct {
        const char* draft;
        int size;
    } cases[] = {{"samples/twill.wif", 128},
                 {"samples/twill.wif", 256},
                 {"samples/rosepath.wif", 64},
                 {"samples/logcabin.wif", 512},
                 {"samples/twill.wif", 16}};
    for (const auto& c : cases) {
        // The desktop hands over an output name of its own, often without .png.
        const QString out = dir.filePath(QStringLiteral("thumb-%1").arg(c.size));
        QStringList args;
        for (QString w : words)
            args << w.replace(QStringLiteral("%i"), source(QString::fromLatin1(c.draft)))
                        .replace(QStringLiteral("%o"), out)
                        .replace(QStringLiteral("%s"), QString::number(c.size));
        const Result r = run(QStringLiteral(QUILLABY_CLI), args);
        ASSERT_EQ(r.status, 0) << c.draft << ": " << r.err.toStdString();
        int w = 0, h = 0;
        ASSERT_TRUE(pngSize(out, w, h)) << c.draft;
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        EXPECT_LE(w, c.size) << c.draft;
        EXPECT_LE(h, c.size) << c.draft;
    }
}
