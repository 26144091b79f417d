#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace {

using namespace std::chrono;

void SetTimeZone(const char* zone)
{
#ifdef _WIN32
    _putenv_s("TZ", zone);
    _tzset();
#else
    setenv("TZ", zone, 1);
    tzset();
#endif
}

// The local time is checked against the UTC clock moved by the zone's
// offset, worked out with the calendar of the standard library, not the C
// library the clock reads. Both systems take "XYZ-3" for three hours east.
TEST(Clock, LocalNowFollowsTheTimeZone)
{
    struct Case {
        const char* zone;
        minutes offset;
    };
    for (const Case& c : {Case{"XYZ-3", minutes(180)}, Case{"XYZ+5", minutes(-300)}, Case{"XYZ-5:30", minutes(330)},
                          Case{"UTC0", minutes(0)}}) {
        SCOPED_TRACE(c.zone);
        SetTimeZone(c.zone);
        // A few tries, in case a minute ends between the readings.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const auto before = floor<minutes>(system_clock::now());
            const LocalDateTime local = LocalNow();
            if (floor<minutes>(system_clock::now()) != before)
                continue;
            const auto shifted = before + c.offset;
            const year_month_day date{floor<days>(shifted)};
            const hh_mm_ss time{shifted - floor<days>(shifted)};
            EXPECT_EQ(local.year, static_cast<int>(date.year()));
            EXPECT_EQ(local.month, static_cast<int>(static_cast<unsigned>(date.month())));
            EXPECT_EQ(local.day, static_cast<int>(static_cast<unsigned>(date.day())));
            EXPECT_EQ(local.hour, time.hours().count());
            EXPECT_EQ(local.minute, time.minutes().count());
            EXPECT_GE(local.second, 0);
            EXPECT_LE(local.second, 60);
            EXPECT_GE(local.millisecond, 0);
            EXPECT_LE(local.millisecond, 999);
            break;
        }
    }
    SetTimeZone("UTC0");
}

// Windows sleeps in ticks of its timer; a sleep must still never end early,
// as the time-outs of the network code count on it.
TEST(Clock, SleepLastsAtLeastItsTime)
{
    for (const int ms : {1, 5, 16, 40}) {
        SCOPED_TRACE(ms);
        const std::int64_t start = MonotonicMs();
        SleepMs(ms);
        const std::int64_t elapsed = MonotonicMs() - start;
        EXPECT_GE(elapsed, ms);
        EXPECT_LT(elapsed, ms + 500);
    }
    const std::int64_t start = MonotonicMs();
    SleepMs(0);
    SleepMs(-5);
    EXPECT_LT(MonotonicMs() - start, 50);
}

} // namespace
