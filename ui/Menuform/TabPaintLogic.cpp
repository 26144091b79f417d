#include "ui/Menuform/TabPaintLogic.h"

namespace TabPaintLogic {

int CaptionPage(int position, const std::array<bool, PageCount>& tabShown)
{
    if (position >= 0 && position < PageCount && !tabShown[position])
        return position + 1;
    return position;
}

Colours TabColours(bool selected, Rgb buttonFace)
{
    if (selected)
        return {buttonFace, Black};
    return {UnselectedGrey, buttonFace};
}

Point CentredTextOrigin(int left, int top, int width, int height, int textWidth, int textHeight)
{
    return {left + (width - textWidth) / 2, top + (height - textHeight) / 2};
}

} // namespace TabPaintLogic
