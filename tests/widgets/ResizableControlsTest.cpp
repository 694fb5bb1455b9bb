#include "widgets/ResizableControls.h"

#include <gtest/gtest.h>

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {
using RC = ResizableControls;

RC::SRect PlaceOne(uint32_t anchor, RC::SRect rect, int w0, int h0, int w, int h)
{
    RC controls;
    EXPECT_TRUE(controls.Register(1, rect, anchor, w0, h0));
    return RC::Place(controls.Records().front(), w, h);
}
}  // namespace

TEST(ResizableControls, AllFourEdgesFollowTheLowerRightCorner)
{
    EXPECT_EQ(PlaceOne(0xF, {250, 170, 290, 190}, 300, 200, 400, 300), (RC::SRect{350, 270, 390, 290}));
    EXPECT_EQ(PlaceOne(0xF, {250, 170, 290, 190}, 300, 200, 280, 190), (RC::SRect{230, 160, 270, 180}));
}

TEST(ResizableControls, WordZeroNeverMoves)
{
    for (int w : {10, 300, 1000})
        EXPECT_EQ(PlaceOne(0, {5, 6, 70, 80}, 300, 200, w, w / 2), (RC::SRect{5, 6, 70, 80}));
    // Factor bits without their edge bits move nothing either.
    EXPECT_EQ(PlaceOne(RC::MakeAnchor(0, 64, 64, 64, 64), {5, 6, 70, 80}, 300, 200, 600, 400),
              (RC::SRect{5, 6, 70, 80}));
}

TEST(ResizableControls, RightAndBottomStretch)
{
    EXPECT_EQ(PlaceOne(10, {10, 10, 290, 150}, 300, 200, 500, 260), (RC::SRect{10, 10, 490, 210}));
}

TEST(ResizableControls, HalfFactorsKeepAControlCentred)
{
    const uint32_t centred = RC::MakeAnchor(RC::kLeft | RC::kRight, 64, 64, 0, 0);
    EXPECT_EQ(centred, 0x3u | (64u << 4) | (64u << 11));
    // 100 wide, centred in 300: 100..200. In 500: 200..300.
    EXPECT_EQ(PlaceOne(centred, {100, 20, 200, 40}, 300, 200, 500, 200), (RC::SRect{200, 20, 300, 40}));
    // Odd growth rounds to nearest: 301 wide adds 0.5 -> rounds up.
    EXPECT_EQ(PlaceOne(centred, {100, 20, 200, 40}, 300, 200, 301, 200), (RC::SRect{101, 20, 201, 40}));
}

TEST(ResizableControls, FactorDecoding)
{
    EXPECT_DOUBLE_EQ(RC::Factor(0, 4), 1.0);
    EXPECT_DOUBLE_EQ(RC::Factor(RC::MakeAnchor(0, 1, 0, 0, 0), 4), 1.0 / 128);
    EXPECT_DOUBLE_EQ(RC::Factor(RC::MakeAnchor(0, 0, 127, 0, 0), 11), 127.0 / 128);
    EXPECT_DOUBLE_EQ(RC::Factor(RC::MakeAnchor(0, 0, 0, 32, 0), 18), 0.25);
    EXPECT_DOUBLE_EQ(RC::Factor(RC::MakeAnchor(0, 0, 0, 0, 127), 25), 127.0 / 128);
    EXPECT_DOUBLE_EQ(RC::Factor(RC::MakeAnchor(0, 0, 0, 0, 127), 4), 1.0);
}

TEST(ResizableControls, ReferenceSizeReplacesTheClientSize)
{
    RC controls;
    controls.SetReferenceSize(200, 100);
    ASSERT_TRUE(controls.Register(1, {10, 10, 50, 30}, 0xF, 999, 999));
    // Offsets were taken against 200 x 100, so a 300 x 150 client adds 100 x 50.
    EXPECT_EQ(RC::Place(controls.Records()[0], 300, 150), (RC::SRect{110, 60, 150, 80}));
}

TEST(ResizableControls, DuplicateIdIsRefusedAndOrderKept)
{
    RC controls;
    ASSERT_TRUE(controls.Register(7, {}, 0, 1, 1));
    ASSERT_TRUE(controls.Register(3, {}, 0, 1, 1));
    NSetLastError(0);
    EXPECT_FALSE(controls.Register(7, {}, 0xF, 1, 1));
    EXPECT_EQ(NGetLastError(), nerr::kAlreadyExists);
    ASSERT_EQ(controls.Records().size(), 2u);
    EXPECT_EQ(controls.Records()[0].id, 7);
    EXPECT_EQ(controls.Records()[0].anchor, 0u);
    EXPECT_EQ(controls.Records()[1].id, 3);
    controls.Clear();
    EXPECT_FALSE(controls.IsRegistered(7));
}

TEST(ResizableControls, ShrinkingPastTheControlNeverTurnsItInsideOut)
{
    const RC::SRect r = PlaceOne(RC::kRight | RC::kBottom, {10, 10, 100, 60}, 200, 100, 50, 20);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.Width(), 0);
    EXPECT_EQ(r.Height(), 0);
}

TEST(ResizableControls, SizeLimitsMoveTheDraggedEdge)
{
    RC controls;
    controls.SetMinimumSize(400, 300);
    RC::SRect r{100, 100, 450, 500};  // 350 wide: too narrow
    EXPECT_TRUE(controls.LimitSizing(r, false, false));
    EXPECT_EQ(r, (RC::SRect{100, 100, 500, 500}));
    r = {100, 100, 450, 500};
    EXPECT_TRUE(controls.LimitSizing(r, true, false));  // dragging the left edge
    EXPECT_EQ(r, (RC::SRect{50, 100, 450, 500}));
    r = {0, 50, 500, 250};  // 200 high
    EXPECT_TRUE(controls.LimitSizing(r, false, true));
    EXPECT_EQ(r, (RC::SRect{0, -50, 500, 250}));
    // Maximum 0 is unlimited.
    r = {0, 0, 100000, 100000};
    EXPECT_FALSE(controls.LimitSizing(r, false, false));
    controls.SetMaximumSize(800, 0);
    EXPECT_TRUE(controls.LimitSizing(r, false, false));
    EXPECT_EQ(r, (RC::SRect{0, 0, 800, 100000}));
    r = {0, 0, 600, 400};
    EXPECT_FALSE(controls.LimitSizing(r, false, false));
}
