#pragma once

#include "device/ManagementPages.h"

#include <array>

// How one tab of the management window's tab control is painted.
namespace TabPaintLogic {


struct Rgb {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Colours {
    Rgb fill;
    Rgb text;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb UnselectedGrey{128, 128, 128};

// The page whose caption a tab shows, from the tab's position among the shown
// tabs: that page, or the next one when that page's tab is hidden.
int CaptionPage(int position, const std::array<bool, PageCount>& tabShown);

// The selected tab is filled with the button face and written in black, the
// others the other way round on grey.
Colours TabColours(bool selected, Rgb buttonFace);

// Where the caption's top left goes so that it sits centred in the tab
// (halves truncated toward zero, so a caption wider than the tab starts left of it).
Point CentredTextOrigin(int left, int top, int width, int height, int textWidth, int textHeight);

} // namespace TabPaintLogic
