// The Float Search dialog, opened from the Tools menu on a draft read from a
// file: it steps through exactly the ends and picks `quillaby-cli floats`
// lists for that file, highlights and scrolls to each, and marks one as one
// undo step.
#include "tests/ui/commandfixture.h"

#include "ui/floats/floatsearchdialog.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"

#include "core/wif/wifwriter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

#include <random>
#include <set>

using namespace qbtest;

namespace {

QString Cli()
{
    return QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli");
}

// The ends and picks (0-based) `quillaby-cli floats` lists, and its count line.
struct Listed {
    std::set<int> ends, picks;
    QString countLine;
};

Listed RunFloats(const QString& file, int min, bool faceOnly)
{
    QProcess p;
    QStringList args{QStringLiteral("floats"), file, QStringLiteral("--min"), QString::number(min)};
    if (faceOnly) args << QStringLiteral("--face-only");
    p.start(Cli(), args);
    RunEventsUntil([&] { return p.state() == QProcess::NotRunning; }, 20000);
    Listed out;
    static const QRegularExpression line(QStringLiteral("^(warp end|weft pick) (\\d+) "));
    for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto m = line.match(l);
        if (m.hasMatch())
            (m.captured(1) == QStringLiteral("warp end") ? out.ends : out.picks).insert(m.captured(2).toInt() - 1);
        else if (l.startsWith(QStringLiteral("floats:"))) out.countLine = l;
    }
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return out;
}

// A random draft with floats of every length: a point threading with some
// unthreaded ends, random picks over a random tieup, sinking or rising shed.
std::unique_ptr<CQuillabyDoc> FloatyDraft(unsigned seed, int ends, int picks, bool rising)
{
    std::mt19937 rng(seed);
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 6;
    d.treadles = 6;
    doc->OnNewDocument(d);
    doc->raw().setRisingShed(rising);
    for (int e = 0; e < ends; ++e) doc->SetThreadingCell(kUnrecorded, e, rng() % 9 == 0 ? 0 : int(rng() % 6) + 1);
    for (int p = 0; p < picks; ++p) doc->SetTreadlingCell(kUnrecorded, p, int(rng() % 6) + 1);
    for (int t = 0; t < 6; ++t)
        for (int s = 1; s <= 6; ++s)
            if (rng() % 3 == 0) doc->SetTieupCell(kUnrecorded, t, s);
    return doc;
}

class FloatSearchTest : public CommandWindowTest {
protected:
    void SetUp() override { CommandWindowTest::SetUp(); }
    // Saves the draft, opens the file in the editor.
    CDraftWindow* open(std::unique_ptr<CQuillabyDoc> doc, const QString& name)
    {
        m_path = m_files.filePath(name);
        EXPECT_TRUE(WriteWifFile(*doc, m_path.toStdString()));
        EXPECT_TRUE(m_main->openFile(m_path));
        return m_main->activeDraftWindow();
    }
    CFloatSearchDialog* search()
    {
        EXPECT_TRUE(choose(QStringLiteral("&Tools"), QStringLiteral("&Float Search...")));
        return CFloatSearchDialog::find(m_main.get());
    }
    // Every thread the dialog steps to, from the first.
    static std::set<int> walk(CFloatSearchDialog* d)
    {
        std::set<int> out;
        if (d->position() >= 0) out.insert(d->position());
        while (d->nextButton()->isEnabled()) {
            d->nextButton()->click();
            out.insert(d->position());
        }
        return out;
    }

    QTemporaryDir m_files;
    QString m_path;
};

} // namespace

TEST_F(FloatSearchTest, WalksTheFloatsTheCommandLineLists)
{
    for (const bool rising : {true, false}) {
        CDraftWindow* w = open(FloatyDraft(rising ? 7 : 8, 40, 36, rising), QStringLiteral("floats%1.wif").arg(rising));
        ASSERT_NE(w, nullptr);
        CFloatSearchDialog* d = search();
        ASSERT_NE(d, nullptr);
        for (const int min : {3, 5})
            for (const bool face : {false, true}) {
                SCOPED_TRACE(testing::Message() << "min " << min << " face " << face << " rising " << rising);
                const Listed cli = RunFloats(m_path, min, face);
                d->warpButton()->setChecked(true);
                d->faceOnlyBox()->setChecked(face);
                d->thresholdBox()->setValue(min);
                d->recount();
                EXPECT_EQ(d->found(), int(cli.ends.size()));
                EXPECT_EQ(walk(d), cli.ends);
                d->weftButton()->setChecked(true);
                EXPECT_EQ(d->found(), int(cli.picks.size()));
                EXPECT_EQ(d->foundText(), QString::number(cli.picks.size()));
                EXPECT_EQ(walk(d), cli.picks);
                EXPECT_EQ(
                    cli.countLine,
                    QStringLiteral("floats: %1 warp ends, %2 weft picks").arg(cli.ends.size()).arg(cli.picks.size()));
                // Past the last one: the message, then from the first again.
                m_told.clear();
                if (d->found() > 0) {
                    d->showNext();
                    EXPECT_EQ(m_told, QStringList{QStringLiteral("That's all folks!\n")});
                    EXPECT_EQ(d->position(), -1);
                    EXPECT_FALSE(d->markButton()->isEnabled());
                    d->showNext();
                    EXPECT_EQ(d->position(), *cli.picks.begin());
                    EXPECT_FALSE(d->prevButton()->isEnabled());
                }
            }
        w->close();
    }
}

TEST_F(FloatSearchTest, OneDialogThatHighlightsScrollsAndMarks)
{
    // 300 ends, 200 picks, plain weave but for end 250, the only one on
    // shaft 3, which floats over picks 150..161 (treadle 3 lifts shaft 3 alone).
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults nd;
    nd.shafts = 3;
    nd.treadles = 3;
    doc->OnNewDocument(nd);
    doc->raw().setUnits(1);
    doc->raw().setWarpSett(12, 5000);
    for (int e = 0; e < 300; ++e) doc->SetThreadingCell(kUnrecorded, e, e == 250 ? 3 : e % 2 + 1);
    for (int p = 0; p < 200; ++p) doc->SetTreadlingCell(kUnrecorded, p, p >= 150 && p <= 161 ? 3 : p % 2 + 1);
    doc->SetTieupCell(kUnrecorded, 0, 1);
    doc->SetTieupCell(kUnrecorded, 1, 2);
    doc->SetTieupCell(kUnrecorded, 2, 3);
    CDraftWindow* w = open(std::move(doc), QStringLiteral("one.wif"));
    ASSERT_NE(w, nullptr);
    CQuillabyDoc& draft = w->document();

    CFloatSearchDialog* d = search();
    ASSERT_NE(d, nullptr);
    d->warpButton()->setChecked(true);
    d->faceOnlyBox()->setChecked(true);
    d->thresholdBox()->setValue(10);
    EXPECT_EQ(d->lengthText(), QStringLiteral("0.80 cm. at 12.5 ends/cm"));
    EXPECT_EQ(d->found(), 1);
    EXPECT_EQ(d->position(), 250);
    EXPECT_FALSE(d->nextButton()->isEnabled());
    EXPECT_FALSE(d->prevButton()->isEnabled());
    // Highlighted in the draft's window, the float framed and in view.
    CDraftFrame* frame = w->frame();
    const ThreadHighlight& h = frame->highlight();
    EXPECT_TRUE(h.warp);
    EXPECT_EQ(h.thread, 250);
    EXPECT_EQ(h.spans, (std::vector<std::pair<int, int>>{{150, 161}}));
    CDraftView* pane = frame->draftView();
    const QRect band = pane->highlightBand();
    EXPECT_TRUE(band.intersects(pane->viewport()->rect())) << band.x() << ',' << band.y();

    // The command again brings the same dialog up.
    EXPECT_EQ(search(), d);
    EXPECT_EQ(m_main->findChildren<CFloatSearchDialog*>().size(), 1);

    // Mark float: one step named for it; Undo gives the draft back exactly.
    const std::string before = DraftState(draft);
    d->setMarkColor(rgb(255, 255, 0));
    d->markButton()->click();
    const int mark = draft.palette().find(rgb(255, 255, 0));
    ASSERT_GE(mark, 0);
    EXPECT_EQ(draft.threading(0)->GetColor(250), mark);
    EXPECT_EQ(undo(), QStringLiteral("&Undo Mark Float"));
    EXPECT_EQ(DraftState(draft), before);

    // An edit elsewhere is counted in once the weaver pauses.
    draft.Transaction("Pencil", [&](Edit e) { draft.SetThreadingCell(e, 10, 3); });
    EXPECT_TRUE(RunEventsUntil([&] { return d->found() == 2; }, 3000));
    EXPECT_EQ(d->position(), 250);

    // Closing puts the draft back to its plain look, and later edits leave it so.
    d->nextButton()->parentWidget()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    EXPECT_EQ(frame->highlight().thread, -1);
    draft.Transaction("Pencil", [&](Edit e) { draft.SetThreadingCell(e, 12, 3); });
    RunEventsUntil([] { return false; }, 400);
    EXPECT_EQ(frame->highlight().thread, -1);
}
