#include "ui/Menuform/TabPaintLogic.h"

#include <gtest/gtest.h>

namespace {

using namespace TabPaintLogic;

TEST(TabCaption, HiddenModifyFtpGivesSixOwnCaptions)
{
    const std::array<bool, PageCount> shown{true, true, true, true, true, false, true};
    const int expected[] = {0, 1, 2, 3, 4, 6};
    for (int position = 0; position < 6; ++position)
        EXPECT_EQ(CaptionPage(position, shown), expected[position]) << "position " << position;
}

TEST(TabCaption, AllShownMapsPositionToPage)
{
    std::array<bool, PageCount> shown;
    shown.fill(true);
    for (int position = 0; position < PageCount; ++position)
        EXPECT_EQ(CaptionPage(position, shown), position);
}

TEST(TabColours, SelectedOnButtonFaceOthersOnGrey)
{
    const Rgb face{240, 240, 240};
    const Colours selected = TabColours(true, face);
    EXPECT_EQ(selected.fill, face);
    EXPECT_EQ(selected.text, (Rgb{0, 0, 0}));
    const Colours other = TabColours(false, face);
    EXPECT_EQ(other.fill, (Rgb{128, 128, 128}));
    EXPECT_EQ(other.text, face);
}

TEST(TabCentring, TruncatesHalvesTowardZero)
{
    struct Case {
        int left, top, width, height, textWidth, textHeight;
        Point origin;
    } cases[] = {
        {0, 0, 80, 20, 40, 13, {20, 3}},
        {10, 2, 81, 21, 40, 14, {30, 5}},    // odd slack: the spare pixel goes right and below
        {5, 0, 30, 10, 41, 13, {0, -1}},     // wider than the tab: -11/2 is -5, not -6
        {100, 50, 64, 18, 64, 18, {100, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredTextOrigin(c.left, c.top, c.width, c.height, c.textWidth, c.textHeight), c.origin)
            << c.left << "," << c.width << "," << c.textWidth;
}

} // namespace
