#include "core/yarn/yarndatabase.h"
#include "core/yarn/yarnmessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qb;

namespace {

// Plays the weaver: answers the question and picks files from a script.
class ScriptedHost : public IYarnDatabaseHost {
public:
    std::string stored;
    bool answer = false;
    std::string openChoice, saveChoice;
    std::vector<std::string> asked, told;
    std::string saveTitle, proposed;

    std::string storedPath() override { return stored; }
    void storePath(const std::string& p) override { stored = p; }
    bool ask(const std::string& q) override
    {
        asked.push_back(q);
        return answer;
    }
    void tell(const std::string& m) override { told.push_back(m); }
    std::string chooseFileToOpen() override { return openChoice; }
    std::string chooseFileToSave(const std::string& title, const std::string& name) override
    {
        saveTitle = title;
        proposed = name;
        return saveChoice;
    }
};

class YarnDatabaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-yarndb-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        std::ofstream(path("yarnDoc.txt"), std::ios::binary) << "8/2; cotton; 3360; 10; 24; \r\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    ScriptedHost m_host;
};

} // namespace

TEST_F(YarnDatabaseTest, LoadsTheStoredFileOnce)
{
    YarnDatabase db;
    m_host.stored = path("yarnDoc.txt");
    CYarnDoc* doc = db.Get(m_host);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->count(), 1);
    std::ofstream(path("yarnDoc.txt")) << "";
    EXPECT_EQ(db.Get(m_host), doc);
    EXPECT_TRUE(m_host.asked.empty());

    // The Options sheet stores a folder: the database is the file in it.
    YarnDatabase fromFolder;
    std::ofstream(path("yarnDoc.txt"), std::ios::binary) << "a; b; 1\r\nc; d; 2\r\n";
    m_host.stored = m_dir.string();
    ASSERT_NE(fromFolder.Get(m_host), nullptr);
    EXPECT_EQ(fromFolder.loaded()->count(), 2);
}

TEST_F(YarnDatabaseTest, LocateOrCreate)
{
    // Not found, the weaver locates it: its path is stored.
    YarnDatabase located;
    m_host.stored = path("gone.txt");
    m_host.answer = true;
    m_host.openChoice = path("yarnDoc.txt");
    ASSERT_NE(located.Get(m_host), nullptr);
    EXPECT_EQ(m_host.asked, std::vector<std::string>{yarnmsg::kNotFound});
    EXPECT_EQ(m_host.stored, path("yarnDoc.txt"));

    // A located file that cannot be read: no database, nothing stored.
    YarnDatabase broken;
    std::ofstream(path("bad.yrn"), std::ios::binary) << "\x05";
    m_host.stored.clear();
    m_host.openChoice = path("bad.yrn");
    EXPECT_EQ(broken.Get(m_host), nullptr);
    EXPECT_TRUE(m_host.stored.empty());
    EXPECT_EQ(m_host.told.size(), 1u);

    // No: a new empty database, saved where the weaver says.
    YarnDatabase created;
    m_host.answer = false;
    m_host.saveChoice = path("new.txt");
    ASSERT_NE(created.Get(m_host), nullptr);
    EXPECT_EQ(m_host.saveTitle, yarnmsg::kSaveAsTitle);
    EXPECT_EQ(m_host.proposed, "yarnDoc.txt");
    EXPECT_TRUE(fs::exists(path("new.txt")));
    EXPECT_EQ(m_host.stored, path("new.txt"));

    // A new database that cannot be saved is discarded.
    YarnDatabase unsaved;
    m_host.stored.clear();
    m_host.saveChoice = path("no/folder/new.txt");
    EXPECT_EQ(unsaved.Get(m_host), nullptr);
    EXPECT_TRUE(m_host.stored.empty());
}

TEST_F(YarnDatabaseTest, CommitAndRevert)
{
    YarnDatabase db;
    m_host.stored = path("yarnDoc.txt");
    CYarnDoc* doc = db.Get(m_host);
    doc->AppendNew("20/2", "linen", 6000, 5, 36);
    // Cancel throws the new yarn away.
    doc = db.Revert(m_host);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->count(), 1);
    // OK keeps it.
    doc->AppendNew("20/2", "linen", 6000, 5, 36);
    EXPECT_TRUE(db.Commit(m_host));
    YarnDatabase again;
    EXPECT_EQ(again.Get(m_host)->count(), 2);

    fs::remove(path("yarnDoc.txt"));
    fs::create_directory(path("yarnDoc.txt")); // the file cannot be replaced now
    doc->AppendNew("x", "y", 1, 1, 1);
    EXPECT_FALSE(db.Commit(m_host));
    EXPECT_EQ(m_host.told.size(), 1u);
}

TEST_F(YarnDatabaseTest, ExportReportsTheOutcome)
{
    CYarnDoc doc;
    doc.AppendNew("8/2", "cotton", 3360, 10, 24);
    ASSERT_TRUE(doc.Save(path("db.yrn")).ok);
    EXPECT_EQ(YarnExportName(path("db.yrn")), path("db.txt"));
    EXPECT_EQ(YarnExportName(path("db.txt")), "");

    YarnFileResult r = ExportYarnsAsText(path("db.yrn"), path("db.txt"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, yarnmsg::kExported);
    std::ifstream in(path("db.txt"), std::ios::binary);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "8/2; cotton; 3360; 10; 24; \r");

    // Text even under another name.
    EXPECT_TRUE(ExportYarnsAsText(path("db.yrn"), path("copy.yrn")).ok);
    CYarnDoc copy;
    EXPECT_FALSE(copy.Open(path("copy.yrn")).ok);

    r = ExportYarnsAsText(path("db.yrn"), path("no/folder/db.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message, yarnmsg::kExported);
    EXPECT_FALSE(ExportYarnsAsText(path("none.yrn"), path("none.txt")).ok);
}
