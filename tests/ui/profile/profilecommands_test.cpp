// Profile drafting in the editor: the "Weave Structure" sheet and its rules,
// block substitution through the menu (the same draft the command line
// makes), the network dialogs and their stored settings, and failures that
// leave no new draft behind.
#include "tests/ui/commandfixture.h"

#include "ui/profile/networkdialogs.h"
#include "ui/profile/profilecommands.h"
#include "ui/profile/structurefiles.h"
#include "ui/profile/weavestructuresheet.h"

#include "core/transform/blockmessages.h"
#include "core/transform/tieupkeys.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"
#include "ui/base/storedsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace qbtest;

namespace {

const QString kTools = QStringLiteral("&Tools");

QString LibraryFile(const char* name)
{
    return QDir(QStringLiteral(QUILLABY_TEST_DATA "/../../structures")).absoluteFilePath(QLatin1String(name));
}

// Blocks as shafts, treadles as blocks of picks, a tieup of blocks per treadle.
std::unique_ptr<CQuillabyDoc> Profile(const std::vector<int>& blocks, const std::vector<int>& treadles,
                                      const std::vector<std::vector<int>>& tieup)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = *std::max_element(blocks.begin(), blocks.end());
    d.treadles = static_cast<int>(tieup.size());
    d.defaultColors = {0x000000, 0xFFFFFF, 0x0000C0, 0x008000};
    doc->OnNewDocument(d);
    for (std::size_t e = 0; e < blocks.size(); ++e) {
        doc->SetThreadingCell(kUnrecorded, static_cast<int>(e), blocks[e]);
        doc->raw().threadingMutable(0)->SetColor(static_cast<int>(e), e % 2 ? 2 : 0);
    }
    for (std::size_t p = 0; p < treadles.size(); ++p)
        doc->SetTreadlingCell(kUnrecorded, static_cast<int>(p), treadles[p]);
    for (std::size_t t = 0; t < tieup.size(); ++t)
        for (int b : tieup[t]) doc->SetTieupCell(kUnrecorded, static_cast<int>(t), b);
    return doc;
}

// A two-block structure with tiedown shafts 1 and 2 and treadles 1 and 2,
// one pattern shaft and one pattern treadle per block, keys drawn for A
// and B alone and marked valid, automatic keys off.
std::unique_ptr<CQuillabyDoc> StructureForSheet()
{
    auto doc = Profile({1, 3, 2, 3, 1, 4, 2, 4}, {3, 1, 3, 2, 4, 1, 4, 2}, {{1}, {2}, {1, 4}, {2, 3}});
    BlockSubstitutionParams& b = doc->raw().blocks;
    b.numBlocks = 2;
    b.endsPerBlock = 4;
    b.picksPerBlock = 4;
    b.tiedownShafts = 2;
    b.tiedownTreadles = 2;
    b.patternShaftsPerBlock = 1;
    b.patternTreadlesPerBlock = 1;
    b.automaticallyGenerated = false;
    SetDefinesStructure(kUnrecorded, *doc, true);
    SetKeyCell(*doc, 1, 0, 4, true);
    SetKeyValid(*doc, 1, true);
    SetKeyCell(*doc, 2, 0, 3, true);
    SetKeyValid(*doc, 2, true);
    return doc;
}

// A sheet filled in by `fill` and accepted (or rejected when fill says so).
DialogRunner Sheet(std::function<bool(CWeaveStructureSheet&)> fill)
{
    return [fill](QDialog& d) {
        auto* sheet = dynamic_cast<CWeaveStructureSheet*>(&d);
        return sheet && fill(*sheet);
    };
}

template <class W> W* Find(QWidget& parent, const char* name)
{
    W* w = parent.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class ProfileTest : public CommandWindowTest {
protected:
    void SetUp() override
    {
        CommandWindowTest::SetUp();
        SetStructureFileChooser([this](const QString& title, const QString& start) {
            m_structureTitles << title;
            m_startFolders << start;
            return m_structures.isEmpty() ? QString() : m_structures.takeFirst();
        });
    }
    void TearDown() override
    {
        SetStructureFileChooser({});
        CommandWindowTest::TearDown();
    }
    int windows() const { return m_main->draftWindows().size(); }
    QString save(const CQuillabyDoc& doc, const QString& name)
    {
        auto copy = doc.Clone();
        const QString path = m_files.filePath(name);
        EXPECT_TRUE(WriteWifFile(*copy, path.toStdString()));
        return path;
    }
    // The draft a file holds, as the comparable text.
    static std::string FileState(const QString& path)
    {
        CQuillabyDoc doc;
        QuietPrompter quiet;
        EXPECT_TRUE(ReadWifFile(path.toStdString(), doc, quiet, {}, nullptr)) << path.toStdString();
        return DraftState(doc);
    }

    QStringList m_structures, m_structureTitles, m_startFolders;
    QTemporaryDir m_files;
};

} // namespace

TEST_F(ProfileTest, MenusNameTheCommandsWhereTheWeaverLooksForThem)
{
    show(Profile({1, 2}, {1, 2}, {{1}, {2}}));
    const QStringList tools = items(kTools);
    for (const char* t : {"&Weave Structure...", "De&fines Structure", "&Block Substitution...",
                          "Scale Pattern &Line...", "Plot onto &Network..."})
        EXPECT_TRUE(tools.contains(QLatin1String(t))) << t;
    EXPECT_TRUE(items(QStringLiteral("T&readling")).contains(QStringLiteral("Ri&bbon Template...")));
}

TEST_F(ProfileTest, DefinesStructureIsOneUndoStepAndShowsItsCheck)
{
    CDraftWindow* w = show(Profile({1, 2}, {1, 2}, {{1}, {2}}));
    CQuillabyDoc& doc = w->document();
    ASSERT_TRUE(choose(kTools, QStringLiteral("De&fines Structure")));
    EXPECT_TRUE(doc.blocks().definesStructure);
    EXPECT_TRUE(item(kTools, QStringLiteral("De&fines Structure"))->isChecked());
    EXPECT_EQ(undo(), QStringLiteral("&Undo Defines Structure"));
    EXPECT_FALSE(doc.blocks().definesStructure);
    EXPECT_FALSE(item(kTools, QStringLiteral("De&fines Structure"))->isChecked());
}

// Which controls the sheet lets the weaver use, for settings made on its pages.
TEST_F(ProfileTest, SheetEnablesControlsByItsRules)
{
    struct Row {
        const char* what;
        std::function<void(CWeaveStructureSheet&)> set;
        std::vector<std::pair<const char*, bool>> enabled;
    };
    auto spin = [](const char* name, int v) {
        return [=](CWeaveStructureSheet& s) { Find<QSpinBox>(s, name)->setValue(v); };
    };
    auto box = [](const char* name, bool on) {
        return [=](CWeaveStructureSheet& s) { Find<QCheckBox>(s, name)->setChecked(on); };
    };
    auto both = [](std::function<void(CWeaveStructureSheet&)> a, std::function<void(CWeaveStructureSheet&)> b) {
        return [=](CWeaveStructureSheet& s) {
            a(s);
            b(s);
        };
    };
    // The draft starts with 2 tiedown treadles, 1 pattern treadle, 4 ends
    // and 4 picks per block, no skeleton, combinations allowed, stored keys.
    const std::vector<Row> rows = {
        {"as read",
         [](CWeaveStructureSheet&) {},
         {{"oddEvenTiedowns", true},
          {"threadingTurning", false},
          {"treadlingTurningChoice", false},
          {"threadingFlip", true},
          {"threadingFlipChoice", false},
          {"automaticKeys", true},
          {"blockList", true},
          {"validCombination", true},
          {"makeAllValid", true},
          {"alternateColors", true},
          {"barsInWarp", false}}},
        {"skeleton", box("skeletonTieup", true), {{"oddEvenTiedowns", false}}},
        {"two pattern treadles",
         spin("patternTreadles", 2),
         {{"oddEvenTiedowns", false},
          {"blockList", false},
          {"keyPicture", false},
          {"validCombination", false},
          {"makeAllValid", false},
          {"automaticKeys", false}}},
        {"one tiedown treadle", spin("tiedownTreadles", 1), {{"oddEvenTiedowns", false}, {"blockList", true}}},
        {"sequential",
         box("sequentialOrder", true),
         {{"threadingTurning", true}, {"threadingTurningChoice", true}, {"treadlingTurning", true}}},
        {"one end per block", spin("endsPerBlock", 1), {{"threadingFlip", false}, {"treadlingFlip", true}}},
        {"one pick per block", spin("picksPerBlock", 1), {{"treadlingFlip", false}, {"threadingFlip", true}}},
        {"flip on", box("threadingFlip", true), {{"threadingFlipChoice", true}, {"treadlingFlipChoice", false}}},
        {"flip on, then one end",
         both(box("threadingFlip", true), spin("endsPerBlock", 1)),
         {{"threadingFlip", false}, {"threadingFlipChoice", false}}},
        {"no combinations", box("allowCombinations", false), {{"automaticKeys", false}, {"validCombination", true}}},
        {"automatic keys",
         box("automaticKeys", true),
         {{"validCombination", false}, {"makeAllValid", false}, {"blockList", true}}},
        {"more blocks",
         spin("numBlocks", 3),
         {{"blockList", false}, {"automaticKeys", false}, {"makeAllValid", false}}},
        {"other shaft layout", spin("tiedownShafts", 1), {{"blockList", false}}},
        {"ends changed only", spin("endsPerBlock", 6), {{"blockList", true}, {"makeAllValid", true}}},
        {"no design colors",
         box("designColors", false),
         {{"alternateColors", false}, {"exceptWarpTiedowns", false}, {"additionalBars", false}, {"barsInWeft", false}}},
        {"color bars", spin("additionalBars", 2), {{"barsInWarp", true}, {"barsInWeft", true}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        CDraftWindow* w = show(StructureForSheet());
        SetDialogRunner(Sheet([&](CWeaveStructureSheet& s) {
            r.set(s);
            for (const auto& [name, on] : r.enabled) {
                QWidget* c = s.findChild<QWidget*>(QLatin1String(name));
                EXPECT_NE(c, nullptr) << name;
                if (c) {
                    EXPECT_EQ(c->isEnabled(), on) << name;
                }
            }
            return false;
        }));
        ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
        // Cancelled: nothing changed, nothing to undo.
        EXPECT_EQ(w->document().history().undoCount(), 0);
        w->close();
    }
}

TEST_F(ProfileTest, SheetEditsKeysAndParametersAsOneUndoStep)
{
    CDraftWindow* w = show(StructureForSheet());
    CQuillabyDoc& doc = w->document();
    const BlockSubstitutionParams before = doc.blocks();
    // OK with nothing changed is no step at all.
    SetDialogRunner(Sheet([](CWeaveStructureSheet&) { return true; }));
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
    EXPECT_EQ(doc.history().undoCount(), 0);
    EXPECT_EQ(doc.blocks(), before);
    SetDialogRunner(Sheet([](CWeaveStructureSheet& s) {
        Find<QCheckBox>(s, "repeatableUnits")->setChecked(false);
        Find<QSpinBox>(s, "endsPerBlock")->setValue(6);
        auto* list = Find<QListWidget>(s, "blockList");
        list->item(0)->setSelected(true);
        list->item(1)->setSelected(true);
        EXPECT_EQ(s.selectedSet(), 3u);
        // The combination A+B has no key yet: draw one cell and mark it valid.
        auto* picture = Find<CTieupKeyPicture>(s, "keyPicture");
        EXPECT_FALSE(picture->key().has_value());
        emit picture->cellClicked(0, 1);
        EXPECT_TRUE(picture->key() && picture->key()->cell(0, 1));
        Find<QCheckBox>(s, "validCombination")->click();
        EXPECT_TRUE(Find<QCheckBox>(s, "validCombination")->isChecked());
        return true;
    }));
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
    EXPECT_FALSE(doc.blocks().repeatableUnits);
    EXPECT_EQ(doc.blocks().endsPerBlock, 6);
    ASSERT_GE(doc.tieupKeys().size(), 4u);
    EXPECT_TRUE(KeyUsable(doc.tieupKeys()[3].get()));
    EXPECT_TRUE(doc.tieupKeys()[3]->cell(0, 1));
    EXPECT_EQ(doc.history().undoCount(), 1);
    EXPECT_EQ(undo(), QStringLiteral("&Undo Weave Structure"));
    EXPECT_EQ(doc.blocks(), before);
    EXPECT_FALSE(KeyUsable(doc.tieupKeys()[3].get()));
}

TEST_F(ProfileTest, MakeAllValidTogglesAndAdjacentBlocksStayInvalid)
{
    CDraftWindow* w = show(StructureForSheet());
    SetDialogRunner(Sheet([](CWeaveStructureSheet& s) {
        auto* all = Find<QPushButton>(s, "makeAllValid");
        // A and B are drawn and valid.
        EXPECT_EQ(all->text(), QStringLiteral("Invalidate all"));
        all->click();
        EXPECT_EQ(all->text(), QStringLiteral("Make all valid"));
        Find<QListWidget>(s, "blockList")->item(0)->setSelected(true);
        EXPECT_FALSE(Find<QCheckBox>(s, "validCombination")->isChecked());
        all->click();
        EXPECT_TRUE(Find<QCheckBox>(s, "validCombination")->isChecked());
        // With adjacent keys kept apart, A+B mixes both groups.
        Find<QCheckBox>(s, "adjacentKeys")->setChecked(true);
        Find<QListWidget>(s, "blockList")->item(1)->setSelected(true);
        EXPECT_FALSE(Find<QCheckBox>(s, "validCombination")->isEnabled());
        return true;
    }));
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
    EXPECT_TRUE(KeyUsable(w->document().tieupKeys()[1].get()));
    EXPECT_TRUE(w->document().blocks().adjacentKeysNotCombined);
}

TEST_F(ProfileTest, SkeletonTieupIsBuiltWithTheSheetOrRefusedWithItsReason)
{
    CDraftWindow* w = show(StructureForSheet());
    CQuillabyDoc& doc = w->document();
    const std::string original = DraftState(doc);
    // One pattern treadle cannot be shared by two tiedown shafts.
    SetDialogRunner(Sheet([](CWeaveStructureSheet& s) {
        Find<QCheckBox>(s, "skeletonTieup")->setChecked(true);
        return true;
    }));
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told[0].contains(QStringLiteral("Pattern treadles per block must be divisible")));
    EXPECT_FALSE(doc.blocks().skeletonTieup);
    EXPECT_EQ(DraftState(doc), original);

    m_told.clear();
    SetDialogRunner(Sheet([](CWeaveStructureSheet& s) {
        Find<QSpinBox>(s, "patternTreadles")->setValue(2);
        Find<QCheckBox>(s, "skeletonTieup")->setChecked(true);
        return true;
    }));
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Weave Structure...")));
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(doc.blocks().skeletonTieup);
    // Two tiedown treadles, two skeleton tiedowns, one treadle per block.
    EXPECT_EQ(doc.numTreadles(), 6);
    EXPECT_TRUE(doc.multipleTreadles());
    undo();
    EXPECT_EQ(DraftState(doc), original);
}

TEST_F(ProfileTest, SubstitutionThroughTheMenuMakesTheCommandLinesDraft)
{
    const auto profile = Profile({1, 1, 2, 2, 1, 2}, {1, 2, 2, 1}, {{1}, {2}});
    const QString profilePath = save(*profile, QStringLiteral("profile.qlb"));
    for (const char* name : {"summer-and-winter.qlb", "overshot.qlb", "turned-twill.qlb"}) {
        SCOPED_TRACE(name);
        const QString structure = LibraryFile(name);
        CDraftWindow* w = show(profile->Clone());
        const int before = windows();
        m_structures = {structure};
        m_startFolders.clear();
        ASSERT_TRUE(choose(kTools, QStringLiteral("&Block Substitution...")));
        EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(windows(), before + 1);
        // The dialog started in the library, the stored folder being empty.
        ASSERT_EQ(m_startFolders.size(), 1);
        EXPECT_EQ(QDir(m_startFolders[0]).canonicalPath(), QFileInfo(structure).canonicalPath());
        EXPECT_EQ(m_structureTitles.last(), QStringLiteral("Weave Structure"));
        CDraftWindow* made = m_main->activeDraftWindow();
        ASSERT_NE(made, w);
        EXPECT_TRUE(made->document().isModified());
        // The profile is not changed.
        EXPECT_EQ(w->document().history().undoCount(), 0);
        EXPECT_EQ(DraftState(w->document()), DraftState(*profile));

        const QString ui = save(made->document(), QStringLiteral("ui.qlb"));
        const QString cli = m_files.filePath(QStringLiteral("cli.qlb"));
        QProcess p;
        p.start(QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli"),
                {QStringLiteral("apply"), profilePath, cli, QStringLiteral("block-substitute"), structure});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        EXPECT_EQ(FileState(ui), FileState(cli));
        made->close();
        w->close();
    }
}

TEST_F(ProfileTest, StoredFolderIsWhereTheStructureDialogStarts)
{
    show(Profile({1, 2}, {1, 2}, {{1}, {2}}));
    m_main->settingsMutable().DfltBlockSubsFileLocn = m_files.path();
    ASSERT_TRUE(choose(kTools, QStringLiteral("&Block Substitution...")));
    ASSERT_EQ(m_startFolders.size(), 1);
    EXPECT_EQ(m_startFolders[0], m_files.path());
    // Cancelled: no message, no new draft.
    EXPECT_TRUE(m_told.isEmpty());
    EXPECT_EQ(windows(), 1);
}

TEST_F(ProfileTest, EveryFailureIsToldAndLeavesNoNewDraft)
{
    const auto plain = Profile({1, 2}, {1, 2}, {{1}, {2}});
    const QString notStructure = save(*plain, QStringLiteral("plain.qlb"));
    struct Case {
        const char* what;
        std::unique_ptr<CQuillabyDoc> profile;
        QString structure;
        QString message; // the end of what is told
        bool asksForFile;
    };
    auto multiple = Profile({1, 2}, {1, 2}, {{1}, {2}});
    multiple->SetMultipleTreadles(kUnrecorded, true);
    std::vector<Case> cases;
    cases.push_back({"not a structure", plain->Clone(), notStructure,
                     QStringLiteral("\ndoes not define substitution blocks."), true});
    cases.push_back({"five blocks, four drawn keys", Profile({1, 2, 3, 4, 5}, {1, 2}, {{1}, {2}}),
                     LibraryFile("overshot.qlb"), QStringLiteral("contain enough blocks.\n[5]"), true});
    cases.push_back({"a treadle tying no drawn combination", Profile({1, 3}, {1}, {{1, 3}}),
                     LibraryFile("overshot.qlb"), QStringLiteral("valid tieup combinations.\n[5]"), true});
    cases.push_back({"multiple treadles", std::move(multiple), LibraryFile("overshot.qlb"),
                     QStringLiteral("Treadling->Multiple Treadles before proceeding."), false});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_told.clear();
        m_startFolders.clear();
        CDraftWindow* w = show(std::move(c.profile));
        const int before = windows();
        m_structures = {c.structure};
        ASSERT_TRUE(choose(kTools, QStringLiteral("&Block Substitution...")));
        EXPECT_EQ(windows(), before);
        EXPECT_EQ(m_main->activeDraftWindow(), w);
        ASSERT_EQ(m_told.size(), 1);
        EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("Unable to substitute this weave structure.\n\n")));
        EXPECT_TRUE(m_told[0].endsWith(c.message)) << m_told[0].toStdString();
        EXPECT_EQ(m_startFolders.size(), c.asksForFile ? 1 : 0);
        m_structures.clear();
        w->close();
    }
}

TEST_F(ProfileTest, PatternLineSheetStoresItsSettingsAndRefusesEmptyNetworks)
{
    // A point draw over eight shafts.
    std::vector<int> line;
    for (int e = 0; e < 14; ++e) line.push_back(e < 8 ? e + 1 : 15 - e);
    show(Profile(line, {1}, {{1}}));
    const int before = windows();

    // Network no higher than the base: refused with the reason, nothing stored.
    SetDialogRunner([](QDialog& d) {
        Find<QSpinBox>(d, "initialBase")->setValue(4);
        Find<QSpinBox>(d, "networkHeight")->setValue(4);
        d.accept();
        return d.result() == QDialog::Accepted;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Scale Pattern &Line...")));
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_EQ(m_told[0], QString::fromLatin1(blockmsg::kNetworkBelowBase));
    EXPECT_EQ(m_main->settings().NetworkHt, 16);
    EXPECT_EQ(windows(), before);

    // From the huck structure: base 2, height 2 + 2, width 10; then a 24-end network.
    m_told.clear();
    m_structures = {LibraryFile("huck-lace.qlb")};
    SetDialogRunner([](QDialog& d) {
        Find<QPushButton>(d, "fromStructure")->click();
        EXPECT_EQ(Find<QSpinBox>(d, "initialBase")->value(), 2);
        EXPECT_EQ(Find<QSpinBox>(d, "initialHeight")->value(), 4);
        EXPECT_EQ(Find<QSpinBox>(d, "initialWidth")->value(), 10);
        Find<QSpinBox>(d, "networkHeight")->setValue(18);
        Find<QSpinBox>(d, "networkLength")->setValue(24);
        Find<QRadioButton>(d, "telescope")->setChecked(true);
        d.accept();
        return d.result() == QDialog::Accepted;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Scale Pattern &Line...")));
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
    const CStoredSettings& s = m_main->settings();
    EXPECT_EQ(std::tuple(s.NetworkInitialB, s.NetworkInitialH, s.NetworkInitialW, s.NetworkHt, s.NetworkLen,
                         s.NetworkTelescope, s.NetworkShaftRule),
              std::tuple(2, 4, 10, 18, 24, 1, 0));
    ASSERT_EQ(windows(), before + 1);
    const CQuillabyDoc& made = m_main->activeDraftWindow()->document();
    EXPECT_EQ(made.numShafts(), 16); // the network above the base
    EXPECT_EQ(made.numEnds(), 24);

    // The next time the sheet opens with what was stored.
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(Find<QSpinBox>(d, "networkHeight")->value(), 18);
        EXPECT_TRUE(Find<QRadioButton>(d, "telescope")->isChecked());
        return false;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Scale Pattern &Line...")));
}

TEST_F(ProfileTest, PlotDialogStoresItsSettingsAndNeedsAStructure)
{
    std::vector<int> line;
    for (int e = 0; e < 12; ++e) line.push_back(e % 6 + 1);
    show(Profile(line, {1, 2, 3, 4, 5, 6}, {{1}, {2}, {3}, {4}, {5}, {6}}));
    const int before = windows();
    SetDialogRunner([](QDialog& d) {
        Find<QSpinBox>(d, "networkHeight")->setValue(12);
        return true;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Plot onto &Network...")));
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_EQ(m_told[0], QStringLiteral("Sorry, cannot plot onto network: \nNo weave structure was specified."));
    EXPECT_EQ(m_main->settings().NetworkHt, 12);
    EXPECT_EQ(windows(), before);

    m_told.clear();
    const QString structure = LibraryFile("bronson-lace.qlb");
    m_structures = {structure};
    SetDialogRunner([](QDialog& d) {
        Find<QPushButton>(d, "browse")->click();
        EXPECT_EQ(Find<QLabel>(d, "structureTitle")->text(), QStringLiteral("bronson-lace.qlb"));
        Find<QSpinBox>(d, "ribbonWidth")->setValue(3);
        Find<QCheckBox>(d, "fillBackground")->setChecked(true);
        return true;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Plot onto &Network...")));
    EXPECT_EQ(m_main->settings().DfltNetworkStructure, structure);
    EXPECT_EQ(m_main->settings().NetworkRibbonW, 3);
    ASSERT_EQ(windows(), before + 1);
    EXPECT_TRUE(m_main->activeDraftWindow()->document().isLiftplan());
    EXPECT_EQ(m_main->activeDraftWindow()->document().numShafts(), 12);

    // The structure and the fills are offered again.
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(Find<QLabel>(d, "structureTitle")->text(), QStringLiteral("bronson-lace.qlb"));
        EXPECT_TRUE(Find<QCheckBox>(d, "fillBackground")->isChecked());
        EXPECT_EQ(Find<QSpinBox>(d, "ribbonWidth")->value(), 3);
        return false;
    });
    ASSERT_TRUE(choose(kTools, QStringLiteral("Plot onto &Network...")));
}

TEST_F(ProfileTest, RibbonTemplateIsOneUndoStepAndItsWidthOutlivesTheWindow)
{
    std::vector<std::vector<int>> tieup(16);
    for (int t = 0; t < 16; ++t) tieup[static_cast<std::size_t>(t)] = {t % 4 + 1};
    CDraftWindow* w = show(Profile({1, 2, 3, 4}, {15, 3}, tieup));
    CQuillabyDoc& doc = w->document();
    const std::string before = DraftState(doc);
    SetDialogRunner([](QDialog& d) {
        Find<QSpinBox>(d, "ribbonWidth")->setValue(4);
        return true;
    });
    ASSERT_TRUE(choose(QStringLiteral("T&readling"), QStringLiteral("Ri&bbon Template...")));
    std::vector<int> pick0;
    doc.treadling(0)->GetSet(0).forEach([&](int t) { pick0.push_back(t); });
    EXPECT_EQ(pick0, (std::vector<int>{1, 2, 15, 16}));
    EXPECT_EQ(doc.treadling(0)->GetSet(1).count(), 4);
    EXPECT_EQ(undo(), QStringLiteral("&Undo Ribbon Template"));
    EXPECT_EQ(DraftState(doc), before);

    // A wide template survives the next start.
    SetDialogRunner([](QDialog& d) {
        Find<QSpinBox>(d, "ribbonWidth")->setValue(100);
        return true;
    });
    ASSERT_TRUE(choose(QStringLiteral("T&readling"), QStringLiteral("Ri&bbon Template...")));
    w->close();
    m_main.reset();
    openMain();
    EXPECT_EQ(m_main->settings().NetworkRibbonW, 100);
}
