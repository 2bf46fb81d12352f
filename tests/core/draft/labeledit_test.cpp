#include "core/draft/labeledit.h"
#include "core/draft/quillabydoc.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> makeDoc(int ends)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = d.treadles = 4;
    doc->OnNewDocument(d);
    for (int e = 0; e < ends; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    return doc;
}

LabelRequest request(int from, int to, std::string text, bool remove = false, int oldStart = 0, int oldLength = 0)
{
    return {from, to, std::move(text), remove, oldStart, oldLength};
}

} // namespace

TEST(LabelEdit, TextsThatWouldBreakTheFileAreRefused)
{
    EXPECT_EQ(LabelTextProblem("Border"), "");
    EXPECT_EQ(LabelTextProblem(std::string(31, 'x')), "");
    EXPECT_EQ(LabelTextProblem("a/b c/"), "");
    for (const char* bad : {"a;b", "[x", "x]", "http://", "y//"}) EXPECT_NE(LabelTextProblem(bad), "") << bad;
    EXPECT_NE(LabelTextProblem(std::string(32, 'x')), "");

    auto doc = makeDoc(8);
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(1, 4, "a;b")), LabelOutcome::Refused);
    EXPECT_EQ(doc->threading(0)->LabelRowCount(), 0);
}

TEST(LabelEdit, AddChangeMoveAndRemove)
{
    auto doc = makeDoc(8);
    const Tding& t = *doc->threading(0);
    // A single thread may carry a label.
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(3, 3, "one")), LabelOutcome::Added);
    ASSERT_NE(t.FindLabel(2, 1), nullptr);
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(5, 2, "back")), LabelOutcome::Nothing);
    // Bounds are clamped to the sequence.
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(5, 99, "tail")), LabelOutcome::Added);
    ASSERT_NE(t.FindLabel(4, 4), nullptr);
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(5, 8, "Tail")), LabelOutcome::Changed);
    EXPECT_EQ(t.FindLabel(4, 4)->text, "Tail");
    // Moving a label takes it off its old span.
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(1, 2, "one", false, 2, 1)), LabelOutcome::Changed);
    EXPECT_EQ(t.FindLabel(2, 1), nullptr);
    EXPECT_NE(t.FindLabel(0, 2), nullptr);
    // An empty text or "Delete this label" removes it.
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(1, 2, "")), LabelOutcome::Removed);
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *doc, true, request(5, 8, "Tail", true)), LabelOutcome::Removed);
    EXPECT_EQ(t.LabelRowCount(), 0);
    EXPECT_EQ(ApplyLabelRequest(kUnrecorded, *makeDoc(0), true, request(1, 1, "x")), LabelOutcome::Nothing);
}
