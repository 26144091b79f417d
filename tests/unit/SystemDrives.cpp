// The workstation's own drives, on the paths that need no file server: the
// letters in use, and a connection that cannot be made.
#include "platform/Drives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ui/Mountform/NetworkDriveLogic.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

bool Offered(Drives& drives, char letter)
{
    const std::vector<char> letters = ListFreeDriveLetters(drives);
    return std::find(letters.begin(), letters.end(), letter) != letters.end();
}

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(SystemDrives, TheSystemDriveIsNeverOfferedAndAFailedConnectionIsNamed)
{
    auto drives = MakeSystemDrives(nullptr);
    EXPECT_EQ(drives->KindOf('C'), DriveKind::Fixed);
    EXPECT_FALSE(Offered(*drives, 'C'));
    // Nothing serves files in this private network.
    const int code = NetConnect(*drives, "127.0.0.1", 'Y', false, "", "");
    EXPECT_NE(code, 0);
    if (UnderWine()) {
        EXPECT_EQ(code, 1222);
        EXPECT_EQ(ConnectMessage(code), "No network.");
    }
    EXPECT_FALSE(drives->ConnectionOf('Y'));
}

#else

namespace fs = std::filesystem;

class SystemDrives : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Before GLib first reads them; the local file system only, so no mount can be made.
        home = fs::temp_directory_path() / ("q70drives" + std::to_string(::getpid()));
        fs::create_directories(home / "Network Drives");
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        setenv("GIO_USE_VFS", "local", 1);
    }
    static void TearDownTestSuite() { fs::remove_all(home); }
    static inline fs::path home;
};

TEST_F(SystemDrives, ALetterIsFreeWithoutALinkOrWithALinkWhoseMountIsGone)
{
    const fs::path folder = home / "Network Drives";
    fs::create_directories(home / "mounted");
    fs::create_directory_symlink(home / "mounted", folder / "Z");
    fs::create_directory_symlink(home / "gone", folder / "Y");
    std::ofstream(folder / "X") << "not a link";

    auto drives = MakeSystemDrives(nullptr);
    EXPECT_EQ(drives->KindOf('Z'), DriveKind::Remote);
    EXPECT_EQ(drives->ConnectionOf('Z'), (home / "mounted").string());
    EXPECT_EQ(drives->KindOf('Y'), DriveKind::NoRootDir);
    EXPECT_FALSE(drives->ConnectionOf('Y'));
    EXPECT_EQ(drives->KindOf('X'), DriveKind::Fixed);
    std::string offered;
    for (char letter : ListFreeDriveLetters(*drives))
        offered += letter;
    EXPECT_EQ(offered, "YWVUTSRQPONMLKJIHGFED");

    // A letter in use is refused before anything is mounted.
    EXPECT_EQ(NetConnect(*drives, "127.0.0.1", 'Z', true, "data", ""), 85);
    EXPECT_EQ(NetConnect(*drives, "127.0.0.1", 'X', true, "data", ""), 85);
    // Without a way to mount shares the connection fails, and no link or autostart entry is left.
    EXPECT_EQ(ConnectMessage(NetConnect(*drives, "127.0.0.1", 'Y', true, "data", "")), "Exception Error.");
    EXPECT_TRUE(fs::is_symlink(folder / "Y"));
    EXPECT_FALSE(fs::exists(folder / "Y"));
    EXPECT_FALSE(fs::exists(home / ".config" / "autostart"));
}

#endif

} // namespace
