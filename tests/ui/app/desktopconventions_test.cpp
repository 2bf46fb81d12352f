// What desktop programs have in common: standard keys, a recent-file
// submenu, a Help menu, an icon of its own.
#include "tests/ui/mainwindowfixture.h"
#include "ui/app/weaversguide.h"
#include "ui/views/draftwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QMdiArea>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace qb;

namespace {

class DesktopConventionsTest : public MainWindowTest {
protected:
    QMenu* recentMenu() const
    {
        QAction* a = item(QStringLiteral("&File"), QStringLiteral("Open &Recent"));
        return a ? a->menu() : nullptr;
    }
    // The file entries the submenu shows, in order.
    QStringList recentEntries() const
    {
        QStringList shown;
        if (QMenu* m = recentMenu())
            for (QAction* a : m->actions())
                if (a->isVisible() && !a->isSeparator() && !a->data().toString().isEmpty()) shown << a->text();
        return shown;
    }
    QString draftFile(const QString& name)
    {
        const QString path = m_files.filePath(name);
        QFile::copy(QStringLiteral(QUILLABY_SOURCE_SAMPLES "/twill.wif"), path);
        return path;
    }
    QTemporaryDir m_files;
};

} // namespace

TEST_F(DesktopConventionsTest, FileCommandsHaveTheStandardKeys)
{
    m_main->newDocument();
    const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
        {"&New", QKeySequence::New},           {"&Open...", QKeySequence::Open}, {"&Save", QKeySequence::Save},
        {"Save &As...", QKeySequence::SaveAs}, {"&Close", QKeySequence::Close},  {"E&xit", QKeySequence::Quit},
    };
    for (const auto& [text, key] : keys) {
        QAction* a = item(QStringLiteral("&File"), QString::fromLatin1(text));
        ASSERT_NE(a, nullptr) << text;
        // The platform's keys; where it has none, the common ones.
        const QList<QKeySequence> platform = QKeySequence::keyBindings(key);
        if (!platform.isEmpty()) EXPECT_TRUE(platform.contains(a->shortcut())) << text;
        EXPECT_FALSE(a->shortcut().isEmpty()) << text;
    }
}

TEST_F(DesktopConventionsTest, NoTwoMenuItemsShareAKey)
{
    // With a draft active every menu is in the bar and filled.
    m_main->newDocument();
    QMap<QString, QString> owner;
    QList<QAction*> all = m_main->menuBar()->actions();
    for (int i = 0; i < all.size(); ++i) {
        QAction* a = all[i];
        if (QMenu* m = a->menu()) {
            all += m->actions();
            continue;
        }
        // Keys of a pane work only inside its window.
        if (a->shortcutContext() != Qt::WindowShortcut && a->shortcutContext() != Qt::ApplicationShortcut) continue;
        for (const QKeySequence& key : a->shortcuts()) {
            const QString k = key.toString();
            if (owner.contains(k) && owner[k] != a->text())
                ADD_FAILURE() << k.toStdString() << " is both " << owner[k].toStdString() << " and "
                              << a->text().toStdString();
            owner[k] = a->text();
        }
    }
    EXPECT_TRUE(owner.contains(QKeySequence(QKeySequence::Open).toString()));
}

TEST_F(DesktopConventionsTest, OpenRecentIsASubmenuThatClears)
{
    QMenu* recent = recentMenu();
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled()); // nothing yet

    const QString a = draftFile(QStringLiteral("a.wif"));
    const QString b = draftFile(QStringLiteral("b.wif"));
    ASSERT_TRUE(m_main->openFile(a));
    ASSERT_TRUE(m_main->openFile(b));
    EXPECT_TRUE(recent->isEnabled());
    EXPECT_EQ(recentEntries(), QStringList({QStringLiteral("&1 ") + b, QStringLiteral("&2 ") + a}));

    // A file gone since: a message, and it leaves the menu.
    m_main->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    ASSERT_TRUE(QFile::remove(a));
    QAction* gone = nullptr;
    for (QAction* act : recent->actions())
        if (act->data().toString() == a) gone = act;
    ASSERT_NE(gone, nullptr);
    gone->trigger();
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told[0].contains(QStringLiteral("a.wif")));
    EXPECT_EQ(recentEntries(), QStringList{QStringLiteral("&1 ") + b});

    // Clear Menu empties it, in the store too.
    QAction* clear = item(recent, QStringLiteral("&Clear Menu"));
    ASSERT_NE(clear, nullptr);
    clear->trigger();
    EXPECT_TRUE(recentEntries().isEmpty());
    EXPECT_TRUE(m_recent.files().isEmpty());
    EXPECT_FALSE(recent->isEnabled());
    QSettings store = TestSettingsDir::store();
    EXPECT_FALSE(store.contains(QStringLiteral("Recent File List/File1")));
}

TEST_F(DesktopConventionsTest, HelpMenuShowsTheWeaversGuide)
{
    ASSERT_NE(item(QStringLiteral("&Help"), QStringLiteral("&About Quillaby...")), nullptr);
    QAction* guide = item(QStringLiteral("&Help"), QStringLiteral("&Weaver's Guide"));
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->shortcut(), QKeySequence(QKeySequence::HelpContents));
    guide->trigger();
    auto* dialog = m_main->findChild<QDialog*>(QStringLiteral("weaversGuide"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QString text = dialog->findChild<QTextBrowser*>()->toPlainText();
    // The README's drawing and loom sections, shown as text rather than Markdown.
    for (const char* words :
         {"Drawing a draft", "Pencil", "Weaving on a dobby loom", "Trying it without a loom", "loom-emulator"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(words))) << words;
    EXPECT_FALSE(text.contains(QStringLiteral("**")));
    EXPECT_FALSE(text.contains(QStringLiteral("## Layout")));
    // Asked again, the same window comes forward.
    guide->trigger();
    EXPECT_EQ(m_main->findChildren<QDialog*>(QStringLiteral("weaversGuide")).size(), 1);
}

TEST_F(DesktopConventionsTest, WindowIconIsTheClothAtEverySize)
{
    const QIcon icon = m_main->windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 64, 256}) {
        const QImage img = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(img.width(), size);
        // Opaque cloth in the middle, transparent room round it.
        EXPECT_EQ(qAlpha(img.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << size;
    }
}
