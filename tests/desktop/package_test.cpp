// The Debian package: made once with cpack, then read with dpkg-deb and
// unpacked into a temporary folder (never installed on this machine).
#include "tests/desktop/desktoptest.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace desktoptest;

namespace {

class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const Result made =
            run(QStringLiteral(QUILLABY_CPACK),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                 QStringLiteral(QUILLABY_BINARY_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), s_dir->path()});
        ASSERT_EQ(made.status, 0) << made.out.toStdString() << made.err.toStdString();
        const QStringList debs = QDir(s_dir->path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        ASSERT_EQ(debs.size(), 1) << made.out.toStdString();
        s_deb = new QString(s_dir->filePath(debs.first()));
        s_root = new QString(s_dir->filePath(QStringLiteral("root")));
        const Result x = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), *s_deb, *s_root});
        ASSERT_EQ(x.status, 0) << x.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_deb;
        delete s_root;
        delete s_dir;
        s_deb = s_root = nullptr;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        if (!s_deb || !s_root) GTEST_FAIL() << "no package was made";
    }
    static QString field(const QString& name)
    {
        return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), *s_deb, name}).out.trimmed();
    }
    // Package names in Depends, without versions or alternatives' bars.
    static QSet<QString> dependsNames()
    {
        QSet<QString> names;
        for (const QString& part : field(QStringLiteral("Depends")).split(QLatin1Char(',')))
            for (const QString& alt : part.split(QLatin1Char('|')))
                names.insert(alt.section(QLatin1Char('('), 0, 0).trimmed());
        return names;
    }
    static QString installed(const QString& relative) { return *s_root + QStringLiteral("/usr/") + relative; }

    static QTemporaryDir* s_dir;
    static QString* s_deb;
    static QString* s_root;
};

QTemporaryDir* Package::s_dir = nullptr;
QString* Package::s_deb = nullptr;
QString* Package::s_root = nullptr;

} // namespace

TEST_F(Package, ControlFields)
{
    EXPECT_EQ(field(QStringLiteral("Package")), QStringLiteral("quillaby"));
    EXPECT_EQ(field(QStringLiteral("Version")), QStringLiteral(QUILLABY_VERSION));
    EXPECT_EQ(field(QStringLiteral("Architecture")),
              run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed());
    EXPECT_EQ(field(QStringLiteral("Section")), QStringLiteral("graphics"));
    EXPECT_FALSE(field(QStringLiteral("Maintainer")).isEmpty());
    EXPECT_TRUE(field(QStringLiteral("Description")).startsWith(QStringLiteral("weaving-draft editor")));
    const QSet<QString> depends = dependsNames();
    for (const char* name : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6", "libqt6network6",
                             "libqt6serialport6", "libqt6svg6", "libjpeg62-turbo", "libtiff6", "libpng16-16", "zlib1g"})
        EXPECT_TRUE(depends.contains(QString::fromLatin1(name))) << name;
}

TEST_F(Package, HoldsTheProgramsAndTheDesktopFiles)
{
    QStringList wanted = {QStringLiteral("bin/quillaby-cli"),
                          QStringLiteral("bin/loom-emulator"),
                          QStringLiteral("share/applications/quillaby.desktop"),
                          QStringLiteral("share/mime/packages/quillaby.xml"),
                          QStringLiteral("share/thumbnailers/quillaby.thumbnailer"),
                          QStringLiteral("share/icons/hicolor/scalable/apps/quillaby.svg"),
                          QStringLiteral("share/icons/hicolor/48x48/apps/quillaby.png"),
                          QStringLiteral("share/icons/hicolor/256x256/apps/quillaby.png"),
                          QStringLiteral("share/quillaby/samples/twill.wif")};
#ifdef QUILLABY_HAS_EDITOR
    wanted << QStringLiteral("bin/quillaby");
#endif
    if (QFileInfo::exists(source(QStringLiteral("structures")))) wanted << QStringLiteral("share/quillaby/structures");
    for (const QString& path : wanted) EXPECT_TRUE(QFileInfo::exists(installed(path))) << path.toStdString();
    for (const QString& program : {QStringLiteral("bin/quillaby-cli"), QStringLiteral("bin/loom-emulator")})
        EXPECT_TRUE(QFileInfo(installed(program)).isExecutable()) << program.toStdString();
    // Every PNG icon is the size its folder says.
    for (const QString& size :
         QDir(installed(QStringLiteral("share/icons/hicolor"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (size == QStringLiteral("scalable")) continue;
        int w = 0, h = 0;
        ASSERT_TRUE(pngSize(installed(QStringLiteral("share/icons/hicolor/%1/apps/quillaby.png").arg(size)), w, h))
            << size.toStdString();
        EXPECT_EQ(QStringLiteral("%1x%2").arg(w).arg(h), size);
    }
    // Nothing lands outside /usr, and no build folder leaks into a path.
    for (const QString& top : QDir(*s_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        EXPECT_EQ(top, QStringLiteral("usr"));
}

TEST_F(Package, UnpackedCommandLineToolRuns)
{
    const Result r = run(installed(QStringLiteral("bin/quillaby-cli")),
                         {QStringLiteral("info"), installed(QStringLiteral("share/quillaby/samples/twill.wif"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("shafts:   8"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("title:    Eight-shaft point twill"))) << r.out.toStdString();
    // The samples open as they are shipped.
    for (const QString& sample :
         QDir(installed(QStringLiteral("share/quillaby/samples"))).entryList({QStringLiteral("*.wif")}))
        EXPECT_EQ(run(installed(QStringLiteral("bin/quillaby-cli")),
                      {QStringLiteral("info"), installed(QStringLiteral("share/quillaby/samples/") + sample)})
                      .status,
                  0)
            << sample.toStdString();
}

TEST_F(Package, DependsCoversEveryLibraryTheProgramsLoad)
{
    // The libraries each program names (NEEDED), found as the loader would,
    // belong to packages that Depends lists.
    const QSet<QString> depends = dependsNames();
    QStringList programs = {QStringLiteral("bin/quillaby-cli"), QStringLiteral("bin/loom-emulator")};
#ifdef QUILLABY_HAS_EDITOR
    programs << QStringLiteral("bin/quillaby");
#endif
    for (const QString& program : programs) {
        const Result ldd = run(QStringLiteral("ldd"), {installed(program)});
        ASSERT_EQ(ldd.status, 0) << ldd.err.toStdString();
        const Result needed = run(QStringLiteral("readelf"), {QStringLiteral("-d"), installed(program)});
        ASSERT_EQ(needed.status, 0) << needed.err.toStdString();
        const QRegularExpression neededRe(QStringLiteral("\\(NEEDED\\).*\\[(.+)\\]"));
        for (const QRegularExpressionMatch& m : neededRe.globalMatch(needed.out)) {
            const QString lib = m.captured(1);
            const QRegularExpression where(QStringLiteral("^\\s*%1 => (\\S+)").arg(QRegularExpression::escape(lib)),
                                           QRegularExpression::MultilineOption);
            const QRegularExpressionMatch found = where.match(ldd.out);
            ASSERT_TRUE(found.hasMatch()) << program.toStdString() << " cannot find " << lib.toStdString();
            // dpkg knows the file by its real name, perhaps under /lib.
            QString path = QFileInfo(found.captured(1)).canonicalFilePath();
            Result owner = run(QStringLiteral("dpkg"), {QStringLiteral("-S"), path});
            if (owner.status != 0 && path.startsWith(QStringLiteral("/usr/")))
                owner = run(QStringLiteral("dpkg"), {QStringLiteral("-S"), path.mid(4)});
            ASSERT_EQ(owner.status, 0) << lib.toStdString() << " at " << path.toStdString() << " has no package";
            const QString package = owner.out.section(QLatin1Char(':'), 0, 0).trimmed();
            EXPECT_TRUE(depends.contains(package))
                << program.toStdString() << " loads " << lib.toStdString() << " from " << package.toStdString()
                << ", which Depends does not name";
        }
    }
}
