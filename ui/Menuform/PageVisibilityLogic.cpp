#include "ui/Menuform/PageVisibilityLogic.h"

PageVisibilityLogic::PageVisibilityLogic()
{
    tabShown.fill(true);
    tabShown[ModifyFtpPage] = false;
    visible[selected] = true;
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::MakeVisible(int page)
{
    if (visible.at(page))
        return {};
    visible[page] = true;
    if (!windowShown)
        return {};
    return {page};
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::SelectPage(int page)
{
    if (page < 0 || page >= PageCount || page == selected)
        return {};
    visible[selected] = false;
    selected = page;
    return MakeVisible(page);
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::SetPageVisible(int page, bool makeVisible)
{
    if (makeVisible)
        return MakeVisible(page);
    visible.at(page) = false;
    return {};
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::SetTabShown(int page, bool shown)
{
    if (tabShown.at(page) == shown)
        return {};
    tabShown[page] = shown;
    if (shown || page != selected)
        return {};
    // The tab in the same place takes over, else the last shown one.
    for (int next = page + 1; next < PageCount; ++next)
        if (tabShown[next])
            return SelectPage(next);
    for (int previous = page - 1; previous >= 0; --previous)
        if (tabShown[previous])
            return SelectPage(previous);
    return {};
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::WindowShown()
{
    windowShown = true;
    ShowHandlers due;
    for (int page = 0; page < PageCount; ++page)
        if (visible[page])
            due.push_back(page);
    return due;
}

void PageVisibilityLogic::WindowClosed() { windowShown = false; }

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::EnterAccountFolderMode()
{
    ShowHandlers due = SetTabShown(ModifyFtpPage, true);
    for (int page : SelectPage(ModifyFtpPage))
        due.push_back(page);
    SetPageVisible(FtpServerPage, false);
    return due;
}

PageVisibilityLogic::ShowHandlers PageVisibilityLogic::LeaveAccountFolderMode()
{
    ShowHandlers due = SetTabShown(ModifyFtpPage, false);
    for (int page : SetPageVisible(FtpServerPage, true))
        due.push_back(page);
    return due;
}
