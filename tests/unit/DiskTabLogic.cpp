#include "ui/Menuform/DiskTabLogic.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/StatusPageText.h"

using namespace DiskTabLogic;
using Lines = std::vector<std::string>;

namespace {

const std::string nas = "http://192.168.1.20/nas.cgi?redirect=";

// The appliance writes the sleep time on the line of the next setting.
std::string GluedPage(const std::string& idle, const std::string& fix, const std::string& scan)
{
    std::string page = StatusPageText({{"disk_scan", scan}});
    return page.insert(page.find("var disk_scan"),
                       "var disk_idle_value=\"" + idle + "\";var disk_fix_enable=\"" + fix + "\";\r\n");
}

} // namespace

TEST(FillScanReport, SplitsAtEachLineFeed)
{
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\nb\nc", {"a", "b", "c"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\r\nb\r\n", {"a\r", "b\r"}},
        {"only", {"only"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillScanReport(c.text), c.lines) << c.text;
}

TEST(SleepTime, CutFromTheValue)
{
    const struct {
        const char* value;
        const char* shown;
    } cases[] = {
        {"10\";var disk_fix_enable=\"ENABLE", "10"},
        {"5\";x\";y", "5"},
        {"\";rest", "0"},
        {"", "0"},
        {"10", "10"}, // ends at its own terminator: the number itself, not 0
        {" 15 ", "15"},
        {"10\"", "10\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SleepTimeText(c.value), c.shown) << c.value;
}

TEST(ReadDiskTab, FillsFromTheAppliancesPage)
{
    const auto values = ReadDiskTab(GluedPage("20", "DISABLE", "start\nphase 1\n"));
    EXPECT_EQ(values.DiskSleepTimeEdit, "20");
    EXPECT_FALSE(values.DiskDelMsgBtnEnabled);
    EXPECT_EQ(values.DiskScanMO, (Lines{"start", "phase 1"}));

    const struct {
        const char* fix;
        bool enabled;
    } fixes[] = {{"ENABLE", true}, {"", true}, {"disable", true}, {"DISABLE ", true}};
    for (const auto& c : fixes)
        EXPECT_EQ(ReadDiskTab(GluedPage("0", c.fix, "")).DiskDelMsgBtnEnabled, c.enabled) << c.fix;

    const auto unread = ReadDiskTab("");
    EXPECT_EQ(unread.DiskSleepTimeEdit, "0");
    EXPECT_TRUE(unread.DiskDelMsgBtnEnabled);
    EXPECT_TRUE(unread.DiskScanMO.empty());

    EXPECT_EQ(ReadDiskTab(StatusPageText({{"disk_idle_value", "10"}})).DiskSleepTimeEdit, "10");
}

TEST(SleepTime, CheckedAndSentAsTyped)
{
    const std::string set = nas + "sto.htm&failure=fail.htm&type=ide_set&idle=";
    const struct {
        const char* typed;
        const char* sent; // nullptr: refused
    } cases[] = {
        {"0", "0"},     {"5", "5"},     {"60", "60"},    {"05", "05"},    {"+5", "%2B5"},  {"-0", "-0"},
        {"1", nullptr}, {"4", nullptr}, {"61", nullptr}, {"99", nullptr}, {"-5", nullptr},
    };
    for (const auto& c : cases) {
        const auto outcome = DiskSleepBtnClick(c.typed, "192.168.1.20");
        if (!c.sent) {
            EXPECT_EQ(std::get<Notice>(outcome),
                      (Notice{"Invalid Sleep Time", false, "Disk Tools", MessageIcon::Information}))
                << c.typed;
            continue;
        }
        const auto& command = std::get<Command>(outcome);
        EXPECT_EQ(command.url, set + c.sent) << c.typed;
        EXPECT_EQ(command.page, "sto.htm");
        EXPECT_EQ(command.mode, SendingMode::WithRetry);
        EXPECT_FALSE(command.showOperation.has_value()); // no page re-shown after the retries
    }

    for (const char* typed : {"", "x", "1x", " 5", "5 ", "&"}) {
        try {
            DiskSleepBtnClick(typed, "192.168.1.20");
            ADD_FAILURE() << "no error for '" << typed << "'";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(typed) + "' is not a valid integer value");
        }
    }
}

TEST(DiskCommands, AskFirstThenSendOnce)
{
    const struct {
        ConfirmedCommand asked;
        const char* url;
        const char* text;
        const char* caption;
    } cases[] = {
        {DiskFormatBtnClick("10.0.0.2"), "sto_ok.htm&failure=fail.htm&type=IDE_init",
         "This will format the hard disk and erase all data from the disk!\nAre you sure?", "Disk Tools"},
        {DiskScanBtnClick("10.0.0.2"), "sto.htm&failure=fail.htm&type=ide_scandisk_start",
         "This operation will take some time to complete! Continue?", "Scan Disk"},
        {DiskDelMsgBtnClick("10.0.0.2"), "sto.htm&failure=fail.htm&type=ide_fixdisk_start",
         "Are you sure to clear scan result?", "Scan Disk"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.asked.command.url, std::string("http://10.0.0.2/nas.cgi?redirect=") + c.url);
        EXPECT_EQ(c.asked.command.page, "sto.htm");
        EXPECT_EQ(c.asked.command.mode, SendingMode::Once);
        EXPECT_EQ(c.asked.question.text, c.text);
        EXPECT_EQ(c.asked.question.caption, c.caption);
        EXPECT_EQ(c.asked.question.icon, MessageIcon::Question);
    }
}

TEST(ScanWatch, ReadsUntilAPageComes)
{
    const struct {
        int emptyReads;
        int readsMade;
        bool report;
    } cases[] = {{0, 1, true}, {3, 4, true}, {7, 8, true}, {8, 8, false}, {20, 8, false}};
    for (const auto& c : cases) {
        int reads = 0;
        const auto report = ReadScanReport([&]() -> std::string {
            return ++reads > c.emptyReads ? StatusPageText({{"disk_scan", "a\nb\n"}}) : "";
        });
        EXPECT_EQ(reads, c.readsMade) << c.emptyReads;
        ASSERT_EQ(report.has_value(), c.report) << c.emptyReads;
        if (report) {
            EXPECT_EQ(*report, (Lines{"a", "b"}));
        }
    }
}
