#include "skerrit/panel/placement.h"

#include <gtest/gtest.h>

namespace {

using placement::Extent;
using placement::PictureLayout;
using placement::PicturePlan;
using placement::PlanPicture;

struct AnchoredCase {
    uint32_t mode;
    int x;
    int y;
};

// Client 200 x 100, picture 50 x 30: right 150, centre 75, bottom 70, middle 35.
TEST(PicturePlacement, AnchoredModesPutOneCopyAtItsPlace) {
    const AnchoredCase cases[] = {
        {1, 150, 0},   {2, 0, 70},    {3, 150, 70},  {4, 75, 0},    {5, 75, 70},
        {6, 20, 20},   {7, 130, 20},  {8, 20, 50},   {9, 130, 50},  {10, 75, 20},
        {11, 75, 50},  {0, 0, 0},     {15, 0, 0},    {99, 0, 0},    {101, 0, 0},
    };
    for (const AnchoredCase& c : cases) {
        const PicturePlan plan = PlanPicture(c.mode, {200, 100}, {50, 30});
        EXPECT_EQ(plan.layout, PictureLayout::Single) << "mode " << c.mode;
        EXPECT_EQ(plan.x, c.x) << "mode " << c.mode;
        EXPECT_EQ(plan.y, c.y) << "mode " << c.mode;
        EXPECT_EQ(plan.width, 50);
        EXPECT_EQ(plan.height, 30);
    }
}

TEST(PicturePlacement, PictureThatDoesNotFitStartsAtZeroBeforeTheOffset) {
    // Wider and taller than the client: right, bottom and centre all become 0.
    EXPECT_EQ(PlanPicture(3, {40, 40}, {50, 60}).x, 0);
    EXPECT_EQ(PlanPicture(3, {40, 40}, {50, 60}).y, 0);
    EXPECT_EQ(PlanPicture(5, {40, 40}, {50, 60}).x, 0);
    EXPECT_EQ(PlanPicture(9, {40, 40}, {50, 60}).x, -20);
    EXPECT_EQ(PlanPicture(9, {40, 40}, {50, 60}).y, -20);
    // Exactly as wide: no room, so 0 as well.
    EXPECT_EQ(PlanPicture(1, {50, 40}, {50, 10}).x, 0);
    // Odd room truncates.
    EXPECT_EQ(PlanPicture(4, {51, 40}, {10, 10}).x, 20);
}

TEST(PicturePlacement, OnlyTheLow16BitsCount) {
    EXPECT_EQ(placement::PlacementMode(0x10003u), 3);
    const PicturePlan plan = PlanPicture(0xABCD0003u, {200, 100}, {50, 30});
    EXPECT_EQ(plan.x, 150);
    EXPECT_EQ(plan.y, 70);
    EXPECT_EQ(PlanPicture(0x1000Eu, {200, 100}, {50, 30}).layout, PictureLayout::Stretch);
}

TEST(PicturePlacement, Mode12CentresOnlyWhenSmallerBothWays) {
    const PicturePlan centred = PlanPicture(12, {200, 100}, {50, 30});
    EXPECT_EQ(centred.layout, PictureLayout::Single);
    EXPECT_EQ(centred.x, 75);
    EXPECT_EQ(centred.y, 35);

    for (const Extent picture : {Extent{250, 30}, Extent{50, 130}, Extent{200, 30}, Extent{50, 100}}) {
        const PicturePlan plan = PlanPicture(12, {200, 100}, picture);
        EXPECT_EQ(plan.layout, PictureLayout::Stretch) << picture.width << "x" << picture.height;
        EXPECT_EQ(plan.x, 0);
        EXPECT_EQ(plan.y, 0);
        EXPECT_EQ(plan.width, 200);
        EXPECT_EQ(plan.height, 100);
    }
}

TEST(PicturePlacement, StretchTileAndColumnModes) {
    const PicturePlan stretch = PlanPicture(14, {200, 100}, {5, 3});
    EXPECT_EQ(stretch.layout, PictureLayout::Stretch);
    EXPECT_EQ(stretch.width, 200);
    EXPECT_EQ(stretch.height, 100);

    const PicturePlan tile = PlanPicture(13, {25, 15}, {10, 10});
    EXPECT_EQ(tile.layout, PictureLayout::Tile);
    const placement::TileGrid grid = placement::TilesCovering({25, 15}, {10, 10});
    EXPECT_EQ(grid.columns, 3);
    EXPECT_EQ(grid.rows, 2);
    EXPECT_EQ(grid.Count(), 6);
    EXPECT_EQ(grid.Origin(2, 1).x, 20);
    EXPECT_EQ(grid.Origin(2, 1).y, 10);

    const PicturePlan column = PlanPicture(100, {25, 40}, {10, 7});
    EXPECT_EQ(column.layout, PictureLayout::ColumnTile);
    EXPECT_EQ(column.width, 10);   // own width
    EXPECT_EQ(column.height, 40);  // client height
}

TEST(TileGrid, ExactFitAndEmptyAreas) {
    EXPECT_EQ(placement::TilesCovering({20, 20}, {10, 10}).Count(), 4);
    EXPECT_EQ(placement::TilesCovering({21, 20}, {10, 10}).Count(), 6);
    EXPECT_EQ(placement::TilesCovering({0, 20}, {10, 10}).Count(), 0);
    EXPECT_EQ(placement::TilesCovering({20, 20}, {0, 10}).Count(), 0);
    EXPECT_EQ(placement::TilesCovering({20, 20}, {10, -1}).Count(), 0);
}

struct TextCase {
    uint32_t mode;
    int left;
    int top;
};

// Client 300 x 200, text 100 x 40: right 200, centre 100, bottom 160, middle 80.
TEST(TextPlacement, EveryModeMovesTheMeasuredRectangle) {
    const TextCase cases[] = {
        {1, 200, 0},  {2, 0, 160},  {3, 200, 160}, {4, 100, 0},   {5, 100, 160}, {6, 20, 20},
        {7, 180, 20}, {8, 20, 140}, {9, 180, 140}, {10, 100, 20}, {11, 100, 140}, {12, 100, 80},
        {0, 0, 0},    {13, 0, 0},   {100, 0, 0},   {0x1000Cu, 100, 80},
    };
    for (const TextCase& c : cases) {
        const placement::Box box = placement::PlaceText(c.mode, {300, 200}, {100, 40});
        EXPECT_EQ(box.left, c.left) << "mode " << c.mode;
        EXPECT_EQ(box.top, c.top) << "mode " << c.mode;
        EXPECT_EQ(box.right - box.left, 100) << "mode " << c.mode;
        EXPECT_EQ(box.bottom - box.top, 40) << "mode " << c.mode;
    }
}

TEST(TextPlacement, MeasuringLeavesFortyPixelsAtRightAndBottom) {
    const placement::Box bounds = placement::TextMeasureBounds({300, 200});
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, 260);
    EXPECT_EQ(bounds.bottom, 160);
}

TEST(TextPlacement, WiderTextStaysAlignedToItsEdge) {
    // Unlike pictures, a text block is not pulled back to 0.
    const placement::Box box = placement::PlaceText(1, {100, 100}, {130, 20});
    EXPECT_EQ(box.left, -30);
    EXPECT_EQ(box.right, 100);
}

}  // namespace
