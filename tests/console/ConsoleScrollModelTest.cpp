#include "console/ConsoleScrollModel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// 3 rows of 10 pixels each, no partial row.
ConsoleScrollModel Model(int32_t depth, int32_t rows = 3)
{
    ConsoleScrollModel m;
    m.SetMetrics(rows * 10, 10, true);
    EXPECT_TRUE(m.SetDepth(depth));
    return m;
}

void Append(ConsoleScrollModel& m, int from, int to)
{
    for (int i = from; i <= to; ++i) {
        m.SetLine(consoleidx::kNew, 6, L"line" + std::to_wstring(i));
        if (m.IsFollowing()) m.EnsureVisible(consoleidx::kLast);
        else if (m.IsPinned()) m.EnsureVisible(consoleidx::kAnchor);
    }
}

std::wstring Text(const ConsoleScrollModel& m, int32_t logical) { return m.Ring().Line(logical).text; }

TEST(ConsoleScrollModel, FiveDeepRingKeepsTheNewestOfSevenAndShowsTheEnd)
{
    ConsoleScrollModel m = Model(5);
    EXPECT_TRUE(m.IsFollowing());
    Append(m, 1, 7);
    EXPECT_EQ(m.Ring().Last(), 4);
    EXPECT_EQ(Text(m, 0), L"line3");
    EXPECT_EQ(Text(m, 4), L"line7");
    EXPECT_EQ(m.Top(), 2);
    EXPECT_TRUE(m.IsRowVisible(4));
    EXPECT_EQ(m.CopyText(false), L"line3\r\nline4\r\nline5\r\nline6\r\nline7\r\n");
    EXPECT_EQ(m.CopyText(true), L"line5\r\nline6\r\nline7\r\n");
}

TEST(ConsoleScrollModel, OpenReceivedLineIsReplacedByTheCompleteEntry)
{
    ConsoleScrollModel m = Model(5);
    m.AppendEntry(6, L"before");
    m.AppendEntry(ConsoleScrollModel::kKindRecdOpen, L"ab");
    m.AppendEntry(ConsoleScrollModel::kKindRecdOpen, L"ab");
    m.AppendEntry(6, L"abc");
    m.AppendEntry(6, L"after");
    ASSERT_EQ(m.Ring().Count(), 3);
    EXPECT_EQ(Text(m, 1), L"abc");
    EXPECT_EQ(m.Ring().Line(1).scheme, 6u);
    EXPECT_EQ(Text(m, 2), L"after");
}

TEST(ConsoleScrollModel, PinHoldsLinesUntilItReachesLineZero)
{
    ConsoleScrollModel m = Model(5, 2);
    Append(m, 1, 5);  // full: top 3
    m.ScrollTo(2);    // stops following
    EXPECT_EQ(m.Anchor(), -1);
    m.TogglePin();
    EXPECT_TRUE(m.IsPinned());
    EXPECT_EQ(m.Anchor(), 2);
    Append(m, 6, 6);
    EXPECT_EQ(m.Anchor(), 1);
    EXPECT_EQ(m.Top(), 1);
    EXPECT_EQ(Text(m, m.Top()), L"line3");  // same line on screen
    Append(m, 7, 7);
    EXPECT_EQ(m.Anchor(), 0);
    EXPECT_EQ(Text(m, m.Top()), L"line3");
    // Pinned to line 0: stays there while the oldest lines are dropped.
    const auto r = m.SetLine(consoleidx::kNew, 6, L"line8");
    EXPECT_TRUE(r.redrawAll);
    EXPECT_EQ(m.Anchor(), 0);
    EXPECT_EQ(m.Top(), 0);
    EXPECT_EQ(Text(m, 0), L"line4");
}

TEST(ConsoleScrollModel, UserScrollStopsFollowingAndMovesAPin)
{
    ConsoleScrollModel m = Model(10);
    Append(m, 1, 10);
    EXPECT_TRUE(m.Scroll(ConsoleScroll::LineUp));
    EXPECT_FALSE(m.IsFollowing());
    EXPECT_EQ(m.Anchor(), -1);
    m.TogglePin();
    EXPECT_TRUE(m.Scroll(ConsoleScroll::PageUp));
    EXPECT_EQ(m.Anchor(), m.Top());
    EXPECT_TRUE(m.Scroll(ConsoleScroll::First));
    EXPECT_FALSE(m.Scroll(ConsoleScroll::LineUp));  // clamped: nothing moved
    EXPECT_FALSE(m.Scroll(ConsoleScroll::KeyPageUp));
    EXPECT_TRUE(m.Scroll(ConsoleScroll::LastPage));
    EXPECT_EQ(m.Top(), 7);
    EXPECT_FALSE(m.Scroll(ConsoleScroll::Thumb, 1000));
    m.ToggleFollow();
    EXPECT_TRUE(m.IsFollowing());
    m.ToggleFollow();
    EXPECT_EQ(m.Anchor(), -1);
}

TEST(ConsoleScrollModel, WheelNotchesAccumulate)
{
    ConsoleScrollModel m = Model(10);
    Append(m, 1, 10);
    EXPECT_FALSE(m.Wheel(60));
    EXPECT_EQ(m.Top(), 7);
    EXPECT_TRUE(m.Wheel(60));
    EXPECT_EQ(m.Top(), 6);
    EXPECT_EQ(m.WheelRemainder(), 0);
    EXPECT_TRUE(m.Wheel(-250));  // two notches down, 10 left over
    EXPECT_EQ(m.Top(), 7);       // clamped at the last page
    EXPECT_EQ(m.WheelRemainder(), -10);
    EXPECT_FALSE(m.Wheel(INT32_MIN));  // no wrap-around; clamped at the end
}

TEST(ConsoleScrollModel, EraseOnAFullRingLeavesAnEmptyFollowingView)
{
    ConsoleScrollModel m = Model(5);
    Append(m, 1, 9);
    m.ScrollTo(0);
    m.AppendEntry(ConsoleScrollModel::kKindRecdOpen, L"open");
    m.Erase();
    EXPECT_EQ(m.Capacity(), 5);
    EXPECT_EQ(m.Ring().Last(), -1);
    EXPECT_TRUE(m.IsFollowing());
    EXPECT_EQ(m.Top(), 0);
    EXPECT_EQ(m.CopyText(false), L"");
    m.AppendEntry(6, L"fresh");  // the open line was forgotten: a new line
    EXPECT_EQ(m.Ring().Last(), 0);
    EXPECT_EQ(Text(m, 0), L"fresh");
}

TEST(ConsoleScrollModel, DepthChangeFollowsAndKeepsNewest)
{
    ConsoleScrollModel m = Model(8);
    Append(m, 1, 8);
    m.TogglePin();
    ASSERT_TRUE(m.SetDepth(3));
    EXPECT_TRUE(m.IsFollowing());
    EXPECT_EQ(Text(m, 0), L"line6");
    EXPECT_EQ(m.Ring().Last(), 2);
    ASSERT_TRUE(m.SetDepth(0));
    EXPECT_FALSE(m.SetLine(consoleidx::kNew, 1, L"x").stored);  // depth 0 stores nothing
    EXPECT_FALSE(m.EnsureVisible(0));
}

TEST(ConsoleScrollModel, BadIndicesAndEmptyClientDoNothing)
{
    ConsoleScrollModel m = Model(5);
    EXPECT_FALSE(m.SetLine(consoleidx::kLast, 1, L"x").stored);  // empty ring has no last line
    EXPECT_FALSE(m.SetLine(-7, 1, L"x").stored);
    EXPECT_FALSE(m.EnsureVisible(5));
    m.SetAnchor(6);
    EXPECT_EQ(m.Anchor(), -1);
    m.SetAnchor(5);
    EXPECT_TRUE(m.IsFollowing());
    m.SetMetrics(0, 10, true);
    EXPECT_FALSE(m.IsRowVisible(consoleidx::kTop));
    EXPECT_FALSE(m.Wheel(240));
    EXPECT_FALSE(m.Scroll(ConsoleScroll::LineDown));
    EXPECT_TRUE(m.SetLine(consoleidx::kNew, 1, L"x").stored);
}

TEST(ConsoleScrollModel, PartialRowIsNotAPage)
{
    ConsoleScrollModel m;
    m.SetMetrics(35, 10, true);
    EXPECT_EQ(m.VisibleRows(), 4);
    EXPECT_EQ(m.PageRows(), 3);
    m.SetMetrics(5, 10, true);
    EXPECT_EQ(m.PageRows(), 1);
}

TEST(ConsoleScrollModel, WidestLineTracksReplacement)
{
    ConsoleScrollModel m = Model(2);
    m.SetLine(consoleidx::kNew, 0, L"wide");
    EXPECT_TRUE(m.NoteWidth(0, 50));
    m.SetLine(consoleidx::kNew, 0, L"x");
    EXPECT_FALSE(m.NoteWidth(1, 10));
    m.SetLine(consoleidx::kNew, 0, L"y");  // drops the widest line
    EXPECT_TRUE(m.NoteWidth(1, 12));
    EXPECT_EQ(m.MaxWidth(), 12);
}

TEST(ConsoleScrollModel, EqualWidestLinesKeepTheMaximumUntilTheLastOneGoes)
{
    ConsoleScrollModel m = Model(3);
    for (int i = 0; i < 3; ++i) {
        m.SetLine(consoleidx::kNew, 0, L"wide");
        m.NoteWidth(m.Ring().Last(), 40);
    }
    // A flood of equally wide lines: each replaces a widest one with another.
    for (int i = 0; i < 10; ++i) {
        m.SetLine(consoleidx::kNew, 0, L"wide");
        EXPECT_FALSE(m.NoteWidth(2, 40));
        EXPECT_EQ(m.MaxWidth(), 40);
    }
    m.SetLine(consoleidx::kNew, 0, L"a");
    EXPECT_FALSE(m.NoteWidth(2, 5));  // two wide lines are left
    m.SetLine(consoleidx::kNew, 0, L"b");
    EXPECT_FALSE(m.NoteWidth(2, 6));
    EXPECT_EQ(m.MaxWidth(), 40);
    m.SetLine(consoleidx::kNew, 0, L"c");  // the last wide line goes
    EXPECT_TRUE(m.NoteWidth(2, 7));
    EXPECT_EQ(m.MaxWidth(), 7);
    // Overwriting a line in place counts too.
    m.SetLine(0, 0, L"d");
    EXPECT_FALSE(m.NoteWidth(0, 3));
    EXPECT_EQ(m.MaxWidth(), 7);
    m.SetLine(2, 0, L"e");
    EXPECT_TRUE(m.NoteWidth(2, 2));
    EXPECT_EQ(m.MaxWidth(), 6);
}

}  // namespace

namespace {

TEST(ConsoleScrollModel, HorizontalPositionStaysInsideTheWidestLine)
{
    ConsoleScrollModel m = Model(3);
    m.SetClientWidth(100);
    m.SetLine(consoleidx::kNew, 0, L"long");
    m.NoteWidth(0, 130);
    EXPECT_EQ(m.HorizontalRange(), 30);
    EXPECT_TRUE(m.ScrollHorizontal(ConsoleHScroll::PageRight));
    EXPECT_EQ(m.HorizontalPos(), 30);
    EXPECT_FALSE(m.ScrollHorizontal(ConsoleHScroll::LineRight));
    EXPECT_TRUE(m.ScrollHorizontal(ConsoleHScroll::LineLeft));
    EXPECT_EQ(m.HorizontalPos(), 29);
    m.SetClientWidth(200);  // everything fits now
    EXPECT_EQ(m.HorizontalPos(), 0);
    EXPECT_FALSE(m.ScrollHorizontal(ConsoleHScroll::Rightmost));
}

}  // namespace
