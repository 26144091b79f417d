#include "ui/Menuform/DateTimeLogic.h"

#include <gtest/gtest.h>

#include "support/StatusPageText.h"

using namespace DateTimeLogic;

namespace {

const std::string prefix = "http://192.168.1.20/man.cgi?redirect=sys_sntp.htm&failure=fail.htm&type=sntp_apply";

DateTimeControls SomeControls()
{
    DateTimeControls controls;
    controls.YearEdit = "2026";
    controls.MonthEdit = "12";
    controls.DataEdit = "09";
    controls.HourEdit = "10";
    controls.MinuteEdit = "05";
    controls.SecondEdit = "30";
    controls.SntpAutoRB = true;
    controls.TimeSSelRB = true;
    controls.selectedTimeServer = TimeServers[1];
    controls.MantimeSEdit = "ntp.example.net";
    controls.TimezoneIndex = 13;
    return controls;
}

} // namespace

TEST(FillDateTimeGroup, CopiesClockFieldsAsTheyStand)
{
    const auto values = FillDateTimeGroup(StatusPageText({
        {"sntp_time", "2026/12/09 10:05:30"},
        {"sntp_day0", "2026"}, {"sntp_day1", "12"}, {"sntp_day2", " 9"},
        {"sntp_time0", "10"}, {"sntp_time1", "05"}, {"sntp_time2", "30 "},
        {"sntp_auto", "checked"}, {"sntp_timeserver", "0"}, {"sntp_server", "time.nist.gov"},
        {"sntp_zone", "1"},
    }));
    EXPECT_EQ(values.CurrenttimeLB, "2026/12/09 10:05:30");
    EXPECT_EQ(values.YearEdit, "2026");
    EXPECT_EQ(values.MonthEdit, "12");
    EXPECT_EQ(values.DataEdit, " 9");
    EXPECT_EQ(values.HourEdit, "10");
    EXPECT_EQ(values.MinuteEdit, "05");
    EXPECT_EQ(values.SecondEdit, "30 ");
    EXPECT_TRUE(values.sntpAuto);
    EXPECT_TRUE(values.listedTimeServer);
    EXPECT_EQ(values.TimeSSelIndex, 4);
    EXPECT_FALSE(values.MantimeSEdit.has_value()); // the typed server keeps what it had
    EXPECT_EQ(values.TimezoneIndex, 13);
}

TEST(FillDateTimeGroup, TimeZoneEntry)
{
    const struct {
        const char* zone;
        int index;
    } cases[] = {
        {"-12", 0}, {"0", 12}, {"12", 24}, {"", 0}, {"+3", 15}, {"-1", 11},
        {"GMT", -1}, {"8h", -1}, {"13", -1}, {"-13", -1}, {"99999999999", -1}, {" 8", -1},
    };
    for (const auto& c : cases) {
        const auto values = FillDateTimeGroup(StatusPageText({{"sntp_zone", c.zone}}));
        EXPECT_EQ(values.TimezoneIndex, c.index) << "zone \"" << c.zone << "\"";
    }
    EXPECT_STREQ(TimeZones[12], "(GMT)Eniwetok, Kwajalein");
    EXPECT_STREQ(TimeZones[24], "(GMT+12:00)Auckland, Fiji, Kamchatka");
}

TEST(FillDateTimeGroup, TimeServerChoice)
{
    const struct {
        const char* kind;
        const char* server;
        bool listed;
        int index;
        std::optional<std::string> typed;
    } cases[] = {
        {"0", "pool.ntp.org", true, 0, std::nullopt},
        {"0", "asia.pool.ntp.org", true, 3, std::nullopt},
        {"0", "ntp.example.net", true, 0, std::nullopt},
        {"1", "ntp.example.net", false, 0, "ntp.example.net"},
        {"1", "time.nist.gov", false, 4, "time.nist.gov"},
        {"1", "TIME.NIST.GOV", false, 0, "TIME.NIST.GOV"}, // exact text, case counts
        {"", "", false, 0, ""},
        {"00", "europe.pool.ntp.org", false, 1, "europe.pool.ntp.org"},
    };
    for (const auto& c : cases) {
        const auto values =
            FillDateTimeGroup(StatusPageText({{"sntp_timeserver", c.kind}, {"sntp_server", c.server}}));
        EXPECT_EQ(values.listedTimeServer, c.listed) << c.kind << " " << c.server;
        EXPECT_EQ(values.TimeSSelIndex, c.index) << c.kind << " " << c.server;
        EXPECT_EQ(values.MantimeSEdit, c.typed) << c.kind << " " << c.server;
    }
}

TEST(FillDateTimeGroup, SntpOnlyWhenChecked)
{
    for (const auto& [value, on] : std::vector<std::pair<std::string, bool>>{
             {"checked", true}, {"", false}, {"Checked", false}, {"checked ", false}, {"1", false}})
        EXPECT_EQ(FillDateTimeGroup(StatusPageText({{"sntp_auto", value}})).sntpAuto, on) << value;
}

TEST(FillDateTimeGroup, UnreadablePageGivesEmptyGroup)
{
    const auto values = FillDateTimeGroup("");
    EXPECT_EQ(values.CurrenttimeLB, "");
    EXPECT_EQ(values.YearEdit + values.MonthEdit + values.DataEdit, "");
    EXPECT_EQ(values.HourEdit + values.MinuteEdit + values.SecondEdit, "");
    EXPECT_FALSE(values.sntpAuto);
    EXPECT_FALSE(values.listedTimeServer);
    EXPECT_EQ(values.TimeSSelIndex, 0);
    EXPECT_EQ(values.MantimeSEdit, std::optional<std::string>(""));
    EXPECT_EQ(values.TimezoneIndex, 0);
}

TEST(DatatimeBtnClick, SendsEveryFieldInOrder)
{
    const auto outcome = DatatimeBtnClick(SomeControls(), "192.168.1.20");
    EXPECT_FALSE(outcome.notice);
    EXPECT_EQ(outcome.command.url,
              prefix + "&sntp_time=&day0=2026&day1=12&day2=09&time0=10&time1=05&time2=30&R_sntp=ENABLE"
                       "&R_sntp_server=0&Sntp_ip=europe.pool.ntp.org&sntp_input=ntp.example.net&sntp_timezone=1");
    EXPECT_EQ(outcome.command.page, "sys_sntp.htm");
    EXPECT_EQ(outcome.command.mode, SendingMode::Once);
}

TEST(DatatimeBtnClick, TimeZoneOffset)
{
    for (const auto& [index, sent] : std::vector<std::pair<int, std::string>>{
             {12, "0"}, {0, "-12"}, {-1, "-13"}, {24, "12"}, {11, "-1"}}) {
        auto controls = SomeControls();
        controls.TimezoneIndex = index;
        const std::string url = DatatimeBtnClick(controls, "192.168.1.20").command.url;
        EXPECT_EQ(url.substr(url.rfind('&')), "&sntp_timezone=" + sent) << index;
    }
}

TEST(DatatimeBtnClick, FieldsGoOutUncheckedAndUnencodedButCannotAddAParameter)
{
    DateTimeControls controls; // nothing checked, nothing typed, no zone: the state before a refresh
    controls.YearEdit = "20 6";
    controls.HourEdit = "x&y";
    controls.MinuteEdit = "1#";
    controls.MantimeSEdit = "ntp.example.org&sntp_timezone=5+%";
    const auto outcome = DatatimeBtnClick(controls, "10.0.0.7");
    EXPECT_FALSE(outcome.notice); // the typed server was not chosen
    EXPECT_EQ(outcome.command.url,
              "http://10.0.0.7/man.cgi?redirect=sys_sntp.htm&failure=fail.htm&type=sntp_apply"
              "&sntp_time=&day0=20 6&day1=&day2=&time0=x%26y&time1=1%23&time2=&R_sntp=DISABLE"
              "&R_sntp_server=1&Sntp_ip=&sntp_input=ntp.example.org%26sntp_timezone=5%2B%25&sntp_timezone=-13");
}

TEST(DatatimeBtnClick, EmptyTypedServerWarnsButStillSends)
{
    auto controls = SomeControls();
    controls.TimeSSelRB = false;
    controls.TimeSMakeRB = true;
    controls.MantimeSEdit = "";
    controls.SntpAutoRB = false;
    const auto outcome = DatatimeBtnClick(controls, "192.168.1.20");
    ASSERT_TRUE(outcome.notice);
    EXPECT_EQ(*outcome.notice, (Notice{"Time server is empty", false, "Date and Time", MessageIcon::Information}));
    EXPECT_EQ(outcome.command.url,
              prefix + "&sntp_time=&day0=2026&day1=12&day2=09&time0=10&time1=05&time2=30&R_sntp=DISABLE"
                       "&R_sntp_server=1&Sntp_ip=europe.pool.ntp.org&sntp_input=&sntp_timezone=1");

    controls.MantimeSEdit = " ";
    EXPECT_FALSE(DatatimeBtnClick(controls, "192.168.1.20").notice); // a blank is not empty
}
