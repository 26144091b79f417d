#include "ui/Menuform/PageVisibilityLogic.h"

#include <gtest/gtest.h>

namespace {

using Due = PageVisibilityLogic::ShowHandlers;
constexpr int Status = 0, IpConfig = 1, FileServer = 3, FtpServer = 4, ModifyFtp = 5, DiskUtility = 6;

// What the management window does on a change of tab: the selected page shows,
// then the account-folder mode ends and the FTP Server page is made visible.
Due ChangeTab(PageVisibilityLogic& pages, int page)
{
    Due due = pages.SelectPage(page);
    for (int p : pages.LeaveAccountFolderMode())
        due.push_back(p);
    return due;
}

// The login window's "Management": page 0 selected, then the window shown.
Due OpenManagement(PageVisibilityLogic& pages)
{
    pages.SelectPage(Status);
    pages.SetTabShown(Status, true);
    pages.SetTabShown(ModifyFtp, false);
    return pages.WindowShown();
}

// The window's close.
void CloseManagement(PageVisibilityLogic& pages)
{
    pages.WindowClosed();
    pages.LeaveAccountFolderMode();
}

TEST(PageVisibility, FirstOpenRefreshesOnlyTheStatusPage)
{
    PageVisibilityLogic pages;
    EXPECT_FALSE(pages.TabShown(ModifyFtp));
    EXPECT_EQ(OpenManagement(pages), Due{Status});
    EXPECT_EQ(pages.Selected(), Status);
}

TEST(PageVisibility, ChangingTabAlsoRefreshesTheFtpServerPageBehindIt)
{
    PageVisibilityLogic pages;
    OpenManagement(pages);
    EXPECT_EQ(ChangeTab(pages, IpConfig), (Due{IpConfig, FtpServer}));
    EXPECT_EQ(pages.Selected(), IpConfig);
    EXPECT_TRUE(pages.PageVisible(FtpServer));
    EXPECT_FALSE(pages.PageVisible(Status));
    // Already visible behind: moving to it runs nothing.
    EXPECT_EQ(ChangeTab(pages, FtpServer), Due{});
    // Leaving it hides it, and the change of tab makes it visible again.
    EXPECT_EQ(ChangeTab(pages, DiskUtility), (Due{DiskUtility, FtpServer}));
}

TEST(PageVisibility, ReopeningRunsEveryVisiblePage)
{
    PageVisibilityLogic pages;
    OpenManagement(pages);
    ChangeTab(pages, FileServer);
    CloseManagement(pages);
    // Closed: making pages visible runs nothing.
    EXPECT_EQ(pages.SetPageVisible(FtpServer, true), Due{});
    EXPECT_EQ(OpenManagement(pages), (Due{Status, FtpServer}));
}

TEST(PageVisibility, AccountFolderModeAndItsEnd)
{
    PageVisibilityLogic pages;
    OpenManagement(pages);
    ChangeTab(pages, FtpServer);
    EXPECT_EQ(pages.EnterAccountFolderMode(), Due{ModifyFtp});
    EXPECT_TRUE(pages.TabShown(ModifyFtp));
    EXPECT_EQ(pages.Selected(), ModifyFtp);
    EXPECT_FALSE(pages.PageVisible(FtpServer));

    // Moving from "Modify FTP" to another tab hides its tab and refreshes FTP Server.
    EXPECT_EQ(ChangeTab(pages, Status), (Due{Status, FtpServer}));
    EXPECT_FALSE(pages.TabShown(ModifyFtp));
    EXPECT_FALSE(pages.PageVisible(ModifyFtp));
}

TEST(PageVisibility, ClosingInAccountFolderModeLeavesFtpServerVisibleForTheNextOpen)
{
    PageVisibilityLogic pages;
    OpenManagement(pages);
    ChangeTab(pages, FtpServer);
    pages.EnterAccountFolderMode();
    CloseManagement(pages);
    EXPECT_FALSE(pages.TabShown(ModifyFtp));
    // Hiding the selected tab handed the selection to the tab in its place.
    EXPECT_EQ(pages.Selected(), DiskUtility);
    EXPECT_EQ(OpenManagement(pages), (Due{Status, FtpServer}));
}

TEST(PageVisibility, SelectingTheSelectedPageOrNoPageRunsNothing)
{
    PageVisibilityLogic pages;
    pages.WindowShown();
    EXPECT_EQ(pages.SelectPage(Status), Due{});
    EXPECT_EQ(pages.SelectPage(7), Due{});
    EXPECT_EQ(pages.SelectPage(-1), Due{});
    EXPECT_EQ(pages.Selected(), Status);
}

TEST(PageVisibility, HidingTheLastShownTabSelectsTheOneBefore)
{
    PageVisibilityLogic pages;
    pages.WindowShown();
    pages.SelectPage(DiskUtility);
    EXPECT_EQ(pages.SetTabShown(DiskUtility, false), Due{FtpServer});
    EXPECT_EQ(pages.Selected(), FtpServer);
}

} // namespace
