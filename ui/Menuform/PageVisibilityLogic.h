#pragma once

#include <array>
#include <vector>

#include "device/ManagementPages.h"

// Which pages of the management window are visible, which tabs are shown,
// which page is selected and whether the window is on screen. Pages have a
// visible state of their own besides the selection: a page's show handler runs
// whenever the page goes from invisible to visible while the window is shown.
// Every operation returns the page numbers whose show handler is due, in order.
class PageVisibilityLogic {
public:
    static constexpr int FtpServerPage = 4;   // TabSheet5
    static constexpr int ModifyFtpPage = 5;   // TabSheet6, whose tab is shown only while an account is modified
    using ShowHandlers = std::vector<int>;

    PageVisibilityLogic();

    // The user or the program selects a page: the previous page goes invisible.
    ShowHandlers SelectPage(int page);
    ShowHandlers SetPageVisible(int page, bool visible);
    // Hiding the selected page's tab selects the page of the tab now in its place.
    ShowHandlers SetTabShown(int page, bool shown);
    ShowHandlers WindowShown();
    void WindowClosed();

    // The account-folder mode of the FTP pages: the "Modify FTP" tab shown and
    // selected, the FTP Server page invisible.
    ShowHandlers EnterAccountFolderMode();
    // What every change of tab and the close do: leave that mode.
    ShowHandlers LeaveAccountFolderMode();

    int Selected() const { return selected; }
    bool PageVisible(int page) const { return visible.at(page); }
    bool TabShown(int page) const { return tabShown.at(page); }
    const std::array<bool, PageCount>& TabsShown() const { return tabShown; }
    bool WindowIsShown() const { return windowShown; }

private:
    ShowHandlers MakeVisible(int page);

    std::array<bool, PageCount> visible{};
    std::array<bool, PageCount> tabShown{};
    int selected = 0;
    bool windowShown = false;
};
