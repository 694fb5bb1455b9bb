// The console list's rules on plain rows: filters, the enable rule, the load
// order, key clean-up, selection, block moves, confirmation texts and layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ILMConsRow.h"
#include "app/LMConsListLayout.h"
#include "app/LMConsListOrder.h"
#include "app/LMConsListTexts.h"
#include "app/LMConsRowFilter.h"
#include "app/LMRowSelection.h"

namespace {
struct SRow : ILMConsRow {
    bool selected = false, enabled = true, open = false, connected = false, present = true, modeValid = true,
         busy = false;
    bool IsSelected() const override { return selected; }
    bool IsEnabled() const override { return enabled; }
    bool IsOpen() const override { return open; }
    bool IsConnected() const override { return connected; }
    bool IsPortPresent() const override { return present; }
    bool IsSerialModeValid() const override { return modeValid; }
    bool IsPortBusy() const override { return busy; }
};

std::vector<const ILMConsRow*> Pointers(const std::vector<SRow>& rows)
{
    std::vector<const ILMConsRow*> p;
    for (const SRow& r : rows)
        p.push_back(&r);
    return p;
}

SLMRowSelection Sel(std::vector<bool> flags, size_t caret = kNoCaret)
{
    SLMRowSelection s;
    s.selected = std::move(flags);
    s.caret = caret;
    return s;
}

std::wstring Letters(const std::vector<size_t>& order)
{
    std::wstring s;
    for (size_t i : order)
        s += static_cast<wchar_t>(L'A' + i);
    return s;
}
}  // namespace

TEST(LMConsRowFilter, OpenableNeedsAnOpenConsoleOrAFreeValidPresentPort)
{
    SRow ok;
    EXPECT_TRUE(LMPassesFilter(ok, ELMConsRowFilter::kOpenable));
    for (int fault = 0; fault < 4; ++fault) {
        SRow r;
        r.enabled = fault != 0;
        r.present = fault != 1;
        r.modeValid = fault != 2;
        r.busy = fault == 3;
        EXPECT_FALSE(LMPassesFilter(r, ELMConsRowFilter::kOpenable)) << fault;
        r.open = true;  // an open console can always be brought to the front
        EXPECT_TRUE(LMPassesFilter(r, ELMConsRowFilter::kOpenable)) << fault;
    }
}

TEST(LMConsRowFilter, EveryFilterOnSelectedAndAllRows)
{
    std::vector<SRow> rows(4);
    rows[0].enabled = false;
    rows[1].open = true;
    rows[1].connected = true;
    rows[1].selected = true;
    rows[2].selected = true;
    rows[2].enabled = false;
    const auto p = Pointers(rows);
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kAll, false), (std::vector<size_t>{0, 1, 2, 3}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kDisabled, false), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kEnabled, false), (std::vector<size_t>{1, 3}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kEnabledNotOpen, false), (std::vector<size_t>{3}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kNotOpen, true), (std::vector<size_t>{2}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kOpen, false), (std::vector<size_t>{1}));
    EXPECT_EQ(LMFilterRows(p, ELMConsRowFilter::kConnected, true), (std::vector<size_t>{1}));
    EXPECT_TRUE(LMAnyRowPasses(p, ELMConsRowFilter::kOpenable, true));
    EXPECT_FALSE(LMAnyRowPasses({}, ELMConsRowFilter::kAll, false));
}

TEST(LMConsEnableRule, EnablesOnlyWhenNothingSelectedIsEnabledAndNeverDisablesAnOpenConsole)
{
    std::vector<SRow> rows(3);
    rows[0].selected = true;  // enabled, open
    rows[0].open = true;
    rows[1].selected = true;  // disabled
    rows[1].enabled = false;
    SLMEnableChange c = LMEnableChange(Pointers(rows));
    EXPECT_FALSE(c.enable);
    EXPECT_TRUE(c.rows.empty()) << "nothing to change: the command is disabled";

    rows[0].enabled = false;
    rows[0].open = false;
    c = LMEnableChange(Pointers(rows));
    EXPECT_TRUE(c.enable);
    EXPECT_EQ(c.rows, (std::vector<size_t>{0, 1}));

    rows[1].enabled = true;
    rows[2].selected = true;
    rows[2].open = true;
    c = LMEnableChange(Pointers(rows));
    EXPECT_FALSE(c.enable);
    EXPECT_EQ(c.rows, (std::vector<size_t>{1}));
    EXPECT_TRUE(LMEnableChange({}).rows.empty());
}

TEST(LMConsLoadOrder, SlotsByIndexThenDuplicatesAndOutOfRangeInListingOrder)
{
    EXPECT_EQ(LMLoadOrder({2, 0, 1}), (std::vector<size_t>{1, 2, 0}));
    // Two keys claim slot 1: the second one goes after all correctly numbered rows.
    EXPECT_EQ(LMLoadOrder({1, 1, 0, 2}), (std::vector<size_t>{2, 0, 3, 1}));
    // Indices past the count (and the largest value) overflow; gaps close up.
    EXPECT_EQ(LMLoadOrder({7, 0xFFFFFFFFu, 2}), (std::vector<size_t>{2, 0, 1}));
    EXPECT_TRUE(LMLoadOrder({}).empty());
    EXPECT_EQ(LMLoadOrder({0, 0, 0}), (std::vector<size_t>{0, 1, 2}));
}

TEST(LMConsLoadOrder, StaleKeysCompareIgnoringCase)
{
    const std::vector<std::wstring> listed{L"{ABC}", L"{def}", L"{123}"};
    EXPECT_EQ(LMStaleKeyNames(listed, {L"{abc}", L"{123}"}), (std::vector<std::wstring>{L"{def}"}));
    EXPECT_EQ(LMStaleKeyNames(listed, {}), listed);
    EXPECT_TRUE(LMStaleKeyNames({}, {L"{x}"}).empty());
    EXPECT_EQ(LMStaleKeyNames({L"{abc}x"}, {L"{abc}"}).size(), 1u);
}

TEST(LMRowSelection, MouseClicksWithShiftAndCtrl)
{
    SLMRowSelection s = Sel({false, false, false, false, false});
    s.Click(1, false, false);
    EXPECT_EQ(s.selected, (std::vector<bool>{false, true, false, false, false}));
    s.Click(3, true, false);
    EXPECT_EQ(s.selected, (std::vector<bool>{false, true, true, true, false}));
    EXPECT_EQ(s.caret, 3u);
    s.Click(0, false, true);  // Ctrl: selection unchanged, caret moves
    EXPECT_EQ(s.selected, (std::vector<bool>{false, true, true, true, false}));
    EXPECT_EQ(s.caret, 0u);
    s.Click(4, true, true);  // Ctrl wins over Shift
    EXPECT_EQ(s.selected, (std::vector<bool>{false, true, true, true, false}));

    SLMRowSelection none = Sel({true, false, true}, 99);  // out-of-range caret is no caret
    none.Click(1, true, false);
    EXPECT_EQ(none.selected, (std::vector<bool>{false, true, false}));
    none.Click(7, false, false);  // below the rows: nothing
    EXPECT_EQ(none.caret, 1u);
}

TEST(LMRowSelection, KeysMoveTheCaretAndShiftExtends)
{
    SLMRowSelection s = Sel({false, false, false, true}, 3);
    EXPECT_TRUE(s.Key(ELMListKey::kDown, false, false));
    EXPECT_EQ(s.caret, 3u) << "Down on the last row keeps the caret there";
    EXPECT_TRUE(s.Key(ELMListKey::kUp, true, false));
    EXPECT_EQ(s.selected, (std::vector<bool>{false, false, true, true}));
    EXPECT_TRUE(s.Key(ELMListKey::kHome, true, false));
    EXPECT_EQ(s.selected, (std::vector<bool>{true, true, true, true}));
    EXPECT_TRUE(s.Key(ELMListKey::kEnd, false, false));
    EXPECT_EQ(s.selected, (std::vector<bool>{false, false, false, true}));
    EXPECT_FALSE(s.Key(ELMListKey::kUp, false, true)) << "Ctrl+Up is ignored";
    EXPECT_EQ(s.caret, 3u);

    SLMRowSelection shiftDown = Sel({false, true, false, false}, 1);
    shiftDown.Key(ELMListKey::kDown, true, false);
    EXPECT_EQ(shiftDown.selected, (std::vector<bool>{false, true, true, false}));

    SLMRowSelection noCaret = Sel({false, false, false});
    noCaret.Key(ELMListKey::kUp, false, false);
    EXPECT_EQ(noCaret.caret, 0u);
    noCaret.caret = kNoCaret;
    noCaret.Key(ELMListKey::kDown, false, false);
    EXPECT_EQ(noCaret.caret, 2u);
    SLMRowSelection empty;
    EXPECT_FALSE(empty.Key(ELMListKey::kHome, false, false));
}

TEST(LMRowSelection, BlocksMoveUpAndDownWithTheCaret)
{
    SLMRowSelection bc = Sel({false, true, true, false}, 2);
    EXPECT_EQ(Letters(LMMoveSelected(bc, true)), L"BCAD");
    EXPECT_EQ(bc.selected, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(bc.caret, 1u);

    SLMRowSelection ac = Sel({true, false, true, false});
    EXPECT_EQ(Letters(LMMoveSelected(ac, true)), L"ACBD");

    SLMRowSelection ab = Sel({true, true, false, false});
    EXPECT_FALSE(ab.CanMoveUp());
    EXPECT_TRUE(LMMoveSelected(ab, true).empty());

    SLMRowSelection down = Sel({true, false, true, true}, 0);
    EXPECT_EQ(Letters(LMMoveSelected(down, false)), L"BACD") << "the run at the bottom stays";
    EXPECT_EQ(down.caret, 1u);
    SLMRowSelection twoRuns = Sel({true, true, false, true, false}, 3);
    EXPECT_EQ(Letters(LMMoveSelected(twoRuns, false)), L"CABED");
    EXPECT_EQ(twoRuns.selected, (std::vector<bool>{false, true, true, false, true}));
    EXPECT_EQ(twoRuns.caret, 4u);
    SLMRowSelection nothing = Sel({false, false});
    EXPECT_FALSE(nothing.CanMoveDown());
    EXPECT_TRUE(LMMoveSelected(nothing, false).empty());
}

TEST(LMConsListTexts, RemoveAndResetQuestionsWordForWord)
{
    SLMConfirmText one = LMRemoveConfirmText({L"Board A"});
    EXPECT_EQ(one.text, L"OK to remove entry \"Board A\"?");
    EXPECT_EQ(one.title, L"Please confim entry removal");
    SLMConfirmText two = LMRemoveConfirmText({L"x", L"y"});
    EXPECT_EQ(two.text, L"OK to remove 2 entries?");
    EXPECT_EQ(two.title, L"Please confim multiple entry removal");

    SLMConfirmText reset = LMResetConfirmText({L"Alpha"});
    EXPECT_EQ(reset.text, L"Caution! Ready to reset 1 board:\nAlpha");
    EXPECT_EQ(reset.title, L"Please Confirm Multiple Board Reset");
    EXPECT_EQ(LMResetConfirmText({L"A", L"B", L"C"}).text, L"Caution! Ready to reset 3 boards:\nA\nB\nC");
}

TEST(LMConsListLayout, IconSizeClosestToTheTextHeight)
{
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(0), 16);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(13), 16);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(20), 16) << "a tie goes to the first size";
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(21), 24);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(28), 24);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(40), 32);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(41), 48);
    EXPECT_EQ(SLMConsListLayout::ChooseIconSize(500), 48);
}

TEST(LMConsListLayout, RowsColumnsAndScrollRanges)
{
    SLMConsListLayout l;
    l.SetTextHeight(13);  // icon 16: max(18, 17) + 1
    EXPECT_EQ(l.rowHeight, 19);
    EXPECT_EQ(l.iconTop, 1);
    EXPECT_EQ(l.textBottom, 16);
    l.SetTextHeight(30);  // icon 32: max(34, 34) + 1
    EXPECT_EQ(l.iconSize, 32);
    EXPECT_EQ(l.rowHeight, 35);
    l.SetTextHeight(19);  // icon 16: max(18, 23) + 1
    EXPECT_EQ(l.rowHeight, 24);
    EXPECT_EQ(l.iconTop, 4);
    EXPECT_EQ(l.DataCellWidth(50), 50 + 4 + 16 + 8);
    EXPECT_EQ(l.HeaderCellWidth(50), 54);

    l.SetColumnWidths({10, 20, 30, 40});
    EXPECT_EQ(l.columnLeft, (std::array<int, 4>{0, 11, 32, 63}));
    EXPECT_EQ(l.HorizontalRange(), 104);
    EXPECT_EQ(l.VerticalRange(0), 24);
    EXPECT_EQ(l.VerticalRange(3), 96);

    EXPECT_EQ(l.RowAt(5, 0, 3), -1) << "header";
    EXPECT_EQ(l.RowAt(24, 0, 3), 0);
    EXPECT_EQ(l.RowAt(71, 0, 3), 1);
    EXPECT_EQ(l.RowAt(72, 0, 3), 2);
    EXPECT_EQ(l.RowAt(96, 0, 3), -1) << "below the last row";
    EXPECT_EQ(l.RowAt(0, 48, 3), -1) << "the header does not scroll";
    EXPECT_EQ(l.RowAt(24, 48, 3), 2);

    EXPECT_EQ(LMClampScroll(-5, 100, 30), 0);
    EXPECT_EQ(LMClampScroll(90, 100, 30), 70);
    EXPECT_EQ(LMClampScroll(10, 100, 300), 0);
    EXPECT_EQ(LMClampScroll(10, 0, -1), 0);
}
