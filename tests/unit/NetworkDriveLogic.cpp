#include "ui/Mountform/NetworkDriveLogic.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A workstation whose letters are scripted; every other letter has no root directory.
class ScriptedDrives final : public Drives {
public:
    struct Letter {
        DriveKind kind;
        std::optional<std::string> connection;
    };
    std::map<char, Letter> letters;
    std::vector<ConnectRequest> requests;
    int answer = 0;

    DriveKind KindOf(char letter) override
    {
        const auto found = letters.find(letter);
        return found == letters.end() ? DriveKind::NoRootDir : found->second.kind;
    }
    std::optional<std::string> ConnectionOf(char letter) override
    {
        const auto found = letters.find(letter);
        return found == letters.end() ? std::nullopt : found->second.connection;
    }
    int Connect(const ConnectRequest& request) override
    {
        requests.push_back(request);
        return answer;
    }
};

std::string Letters(const std::vector<char>& letters)
{
    return std::string(letters.begin(), letters.end());
}

struct FreeLettersCase {
    const char* name;
    std::map<char, ScriptedDrives::Letter> letters;
    const char* offered;
};

class FreeLetters : public ::testing::TestWithParam<FreeLettersCase> {};

TEST_P(FreeLetters, OffersZDownToDWithoutLocalOrConnectedLetters)
{
    ScriptedDrives drives;
    drives.letters = GetParam().letters;
    EXPECT_EQ(Letters(ListFreeDriveLetters(drives)), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(
    Workstations, FreeLetters,
    ::testing::Values(
        FreeLettersCase{"LocalCAndDZConnected",
                        {{'C', {DriveKind::Fixed, {}}},
                         {'D', {DriveKind::Fixed, {}}},
                         {'Z', {DriveKind::Remote, "\\\\192.168.1.20\\public"}}},
                        "YXWVUTSRQPONMLKJIHGFE"},
        FreeLettersCase{"UnknownOrRemoteWithoutAConnectionIsFree",
                        {{'Z', {DriveKind::Unknown, {}}},
                         {'Y', {DriveKind::Remote, std::string()}},
                         {'X', {DriveKind::NoRootDir, "\\\\host\\remembered"}},
                         {'E', {DriveKind::Removable, {}}},
                         {'F', {DriveKind::CdRom, {}}},
                         {'G', {DriveKind::RamDisk, {}}}},
                        "ZYWVUTSRQPONMLKJIHD"}),
    [](const auto& info) { return info.param.name; });

TEST(NetConnect, BuildsTheRequestFromWhatWasPicked)
{
    struct Case {
        char letter;
        bool reconnect;
        std::string folder, password;
        ConnectRequest expected;
    };
    const Case cases[] = {
        {'Y', true, "data", "pw", {"Y:", "\\\\192.168.1.20\\data", "pw", true}},
        {'y', false, "", "", {"Y:", "\\\\192.168.1.20\\PUBLIC", "", false}},
        {'E', true, "Public Share", "", {"E:", "\\\\192.168.1.20\\Public Share", "", true}},
    };
    for (const Case& c : cases) {
        ScriptedDrives drives;
        drives.answer = 85;
        EXPECT_EQ(NetConnect(drives, "192.168.1.20", c.letter, c.reconnect, c.folder, c.password), 85);
        ASSERT_EQ(drives.requests.size(), 1u);
        const ConnectRequest& sent = drives.requests[0];
        EXPECT_EQ(sent.localName, c.expected.localName);
        EXPECT_EQ(sent.remoteName, c.expected.remoteName);
        EXPECT_EQ(sent.password, c.expected.password);
        EXPECT_EQ(sent.reconnectAtLogon, c.expected.reconnectAtLogon);
    }
}

TEST(ConnectMessage, NamesTheResultCodes)
{
    // Busy has words of its own, not the provider's; unknown codes fall to the general message.
    const std::pair<int, const char*> cases[] = {
        {0, "Remote Device Connected"},
        {170, "The requested resource is in use."},
        {1204, "The value specified by provider does not match any provider."},
        {1222, "No network."},
        {1201, "Exception Error."},
        {31, "Exception Error."},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(ConnectMessage(code), message) << code;
}

TEST(MountSetAction, ConnectsOnlyWithALetterAndAPickedAppliance)
{
    struct Case {
        bool letter, device;
        const char* address;
        MountSetAction action;
    };
    const Case cases[] = {
        {true, true, "192.168.1.20", MountSetAction::Connect},
        {false, false, "", MountSetAction::AskForDisk},
        {true, false, "", MountSetAction::AskForDevice},
        {true, false, "192.168.1.20", MountSetAction::Nothing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseMountSetAction(c.letter, c.device, c.address), c.action)
            << c.letter << c.device << c.address;
}

} // namespace
