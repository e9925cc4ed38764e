// The next local occurrence of the picked time, in real time zones.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fake_platform.h"
#include "local_time.h"
#include "test_time.h"

// The zones the cases run in. Natively one process takes each in turn; on
// Windows local time is Windows' own zone, so a run does the rows of its
// zone only, and ctest starts one run per zone (Wine takes Windows' zone
// from the host's TZ).
const char* const kBerlin = "Europe/Berlin";
const char* const kNewYork = "America/New_York";
const char* const kKolkata = "Asia/Kolkata";
const char* const kTokyo = "Asia/Tokyo";

// A local wall-clock time given as UTC plus the zone's offset then in force.
static int64_t Local(int y, int mo, int d, int h, int mi, int s, double offsetHours)
{
    return UtcSeconds(y, mo, d, h, mi, s) - static_cast<int64_t>(offsetHours * 3600);
}

TEST(NextLocalOccurrence, CasesAcrossZonesAndCalendars)
{
    struct Row {
        const char* what;
        const char* zone;
        int64_t now;
        int hour, minute;
        int64_t expected;
    } rows[] = {
        {"one second before", kBerlin, Local(2026, 12, 7, 9, 59, 59, 1), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, 1)},
        {"exactly at: tomorrow", kBerlin, Local(2026, 12, 7, 10, 0, 0, 1), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, 1)},
        {"half a minute after", kBerlin, Local(2026, 12, 7, 10, 0, 30, 1), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, 1)},
        {"midnight is always tomorrow", kBerlin, Local(2026, 12, 7, 0, 0, 0, 1), 0, 0,
         Local(2026, 12, 8, 0, 0, 0, 1)},
        {"new year", kBerlin, Local(2026, 12, 31, 23, 30, 0, 1), 23, 0,
         Local(2027, 1, 1, 23, 0, 0, 1)},
        {"leap day", kBerlin, Local(2028, 2, 28, 12, 0, 0, 1), 11, 0,
         Local(2028, 2, 29, 11, 0, 0, 1)},
        {"no leap day", kBerlin, Local(2027, 2, 28, 12, 0, 0, 1), 11, 0,
         Local(2027, 3, 1, 11, 0, 0, 1)},
        {"evening before spring forward: 22 h", kBerlin, Local(2026, 3, 28, 22, 0, 0, 1), 21, 0,
         Local(2026, 3, 29, 21, 0, 0, 2)},
        {"evening before fall back: 24 h", kBerlin, Local(2026, 10, 24, 22, 0, 0, 2), 21, 0,
         Local(2026, 10, 25, 21, 0, 0, 1)},
        {"summer, later today", kBerlin, Local(2026, 7, 1, 8, 15, 0, 2), 17, 45,
         Local(2026, 7, 1, 17, 45, 0, 2)},
        {"one second before", kNewYork, Local(2026, 12, 7, 9, 59, 59, -5), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, -5)},
        {"exactly at: tomorrow", kNewYork, Local(2026, 12, 7, 10, 0, 0, -5), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, -5)},
        {"evening before spring forward: 22 h", kNewYork, Local(2026, 3, 7, 22, 0, 0, -5), 21, 0,
         Local(2026, 3, 8, 21, 0, 0, -4)},
        {"evening before fall back: 24 h", kNewYork, Local(2026, 10, 31, 22, 0, 0, -4), 21, 0,
         Local(2026, 11, 1, 21, 0, 0, -5)},
        {"new year", kNewYork, Local(2026, 12, 31, 23, 30, 0, -5), 23, 0,
         Local(2027, 1, 1, 23, 0, 0, -5)},
        {"one second before", kKolkata, Local(2026, 12, 7, 9, 59, 59, 5.5), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, 5.5)},
        {"exactly at: 86,400 s, no daylight saving in March", kKolkata,
         Local(2026, 3, 28, 22, 0, 0, 5.5), 22, 0, Local(2026, 3, 29, 22, 0, 0, 5.5)},
        {"nor in October", kKolkata, Local(2026, 10, 31, 22, 0, 0, 5.5), 21, 0,
         Local(2026, 11, 1, 21, 0, 0, 5.5)},
        {"half past midnight UTC is the local morning", kKolkata, Local(2026, 12, 7, 5, 0, 0, 5.5),
         6, 15, Local(2026, 12, 7, 6, 15, 0, 5.5)},
        {"one second before", kTokyo, Local(2026, 12, 7, 9, 59, 59, 9), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, 9)},
        {"late evening to early morning", kTokyo, Local(2026, 12, 7, 23, 30, 0, 9), 7, 0,
         Local(2026, 12, 8, 7, 0, 0, 9)},
    };
    int ran = 0;
    for (const Row& row : rows) {
        if (!UseTimeZone(row.zone))
            continue;
        SCOPED_TRACE(testing::Message() << row.zone << ": " << row.what);
        EXPECT_EQ(row.expected, NextLocalOccurrence(row.now, row.hour, row.minute));
        ++ran;
    }
    if (ran == 0)
        GTEST_SKIP() << "no rows for this process's zone";
}

TEST(NextLocalOccurrence, TimeInsideTheSpringForwardGap)
{
    // 02:30 does not exist on the morning the clocks go forward; the
    // runtime's mktime moves it. Microsoft's runtime takes it as standard
    // time, 01:30, and glibc's as summer time, 03:30. Once the moved time has
    // passed, the next day follows from the moved record: 01:30 tomorrow.
    struct Row {
        const char* what;
        const char* zone;
        int64_t now;
        int64_t windowsRuntime, glibc;
    } rows[] = {
        {"before the gap", kBerlin, Local(2026, 3, 29, 1, 0, 0, 1), Local(2026, 3, 29, 1, 30, 0, 1),
         Local(2026, 3, 29, 3, 30, 0, 2)},
        {"past the moved time", kBerlin, Local(2026, 3, 29, 1, 45, 0, 1),
         Local(2026, 3, 30, 1, 30, 0, 2), Local(2026, 3, 29, 3, 30, 0, 2)},
        {"before the gap", kNewYork, Local(2026, 3, 8, 1, 0, 0, -5),
         Local(2026, 3, 8, 1, 30, 0, -5), Local(2026, 3, 8, 3, 30, 0, -4)},
        {"past the moved time", kNewYork, Local(2026, 3, 8, 1, 45, 0, -5),
         Local(2026, 3, 9, 1, 30, 0, -4), Local(2026, 3, 8, 3, 30, 0, -4)},
    };
    int ran = 0;
    for (const Row& row : rows) {
        if (!UseTimeZone(row.zone))
            continue;
        SCOPED_TRACE(testing::Message() << row.zone << ": " << row.what);
#ifdef _WIN32
        EXPECT_EQ(row.windowsRuntime, NextLocalOccurrence(row.now, 2, 30));
#else
        EXPECT_EQ(row.glibc, NextLocalOccurrence(row.now, 2, 30));
#endif
        ++ran;
    }
    if (ran == 0)
        GTEST_SKIP() << "no rows for this process's zone";
}

#ifdef _WIN32
// A run that asks for a zone must get it, or its zone's rows would all be
// skipped unseen.
TEST(NextLocalOccurrence, RunsInTheZoneItWasStartedFor)
{
    const char* asked = std::getenv("QUILLET_EXPECTED_ZONE");
    if (asked == nullptr)
        GTEST_SKIP() << "this run asks for no zone: local time is this machine's";
    EXPECT_TRUE(UseTimeZone(asked)) << "Windows' zone does not keep the rules of " << asked;
}
#endif

TEST(ComputeDeactivateTime, PickerDateSecondsAndMillisecondsAreIgnored)
{
    ResetEngineAndFake();
    const int64_t expected = fake.calendarTime + 4200; // 14:00 at 12:50 local time
    const SYSTEMTIME pickers[] = {
        {2026, 12, 1, 7, 14, 0, 0, 0},  {2026, 12, 0, 6, 14, 0, 59, 999}, // yesterday
        {2026, 12, 2, 8, 14, 0, 30, 0},                                   // tomorrow
        {1601, 1, 0, 1, 14, 0, 0, 0},   {30827, 12, 6, 31, 14, 0, 0, 0},
    };
    for (const SYSTEMTIME& picker : pickers) {
        SCOPED_TRACE(picker.wYear);
        fake.pickerValue = picker;
        EXPECT_EQ(expected, ComputeDeactivateTime(kFakeWindow));
    }
}

TEST(ComputeDeactivateTime, FailuresGiveNone)
{
    struct Row {
        const char* what;
        LRESULT answer;
        WORD hour, minute;
        int64_t now;
    } rows[] = {
        {"picker error", GDT_ERROR, 14, 0, 1796647800},
        {"picker without time", GDT_NONE, 14, 0, 1796647800},
        {"hour out of range", GDT_VALID, 24, 0, 1796647800},
        {"minute out of range", GDT_VALID, 14, 60, 1796647800},
        {"clock before 1970", GDT_VALID, 14, 0, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResetEngineAndFake();
        fake.pickerAnswer = row.answer;
        fake.pickerValue.wHour = row.hour;
        fake.pickerValue.wMinute = row.minute;
        fake.calendarTime = row.now;
        EXPECT_EQ(0, ComputeDeactivateTime(kFakeWindow));
    }
}

#ifndef _WIN32
// The exact bound is the shim's; the Windows runtime under Wine draws it elsewhere.
TEST(NextLocalOccurrence, NothingPastTheLastCalendarTime)
{
    UseTimeZone("UTC");
    const int64_t last = kLastCalendarTime; // 3001-01-19 07:59:59 UTC
    EXPECT_EQ(0, NextLocalOccurrence(last + 1, 10, 0));
    EXPECT_EQ(0, NextLocalOccurrence(-1, 10, 0));
    EXPECT_EQ(0, NextLocalOccurrence(last - 1800, 7, 0));          // tomorrow 07:00 is past the end
    EXPECT_EQ(last - 59, NextLocalOccurrence(last - 1800, 7, 59)); // 07:59:00 today is not
    EXPECT_EQ(0, NextLocalOccurrence(last, 8, 0));
}
#endif

// Random clocks and picks in the zone local time has now.
static void ExpectAheadOnAWholeLocalMinuteWithin25Hours(std::mt19937& random)
{
    for (int i = 0; i < 3000; ++i) {
        const int64_t now = 946684800 + static_cast<int64_t>(random() % (40ull * 365 * 86400));
        const int hour = static_cast<int>(random() % 24);
        const int minute = static_cast<int>(random() % 60);
        const int64_t result = NextLocalOccurrence(now, hour, minute);
        ASSERT_GT(result, now) << now << " " << hour << ":" << minute;
        ASSERT_LE(result - now, 25 * 3600);
        std::tm local{};
        ASSERT_EQ(0, LocalTime(&local, &result));
        ASSERT_EQ(0, local.tm_sec);
        ASSERT_EQ(minute, local.tm_min);
    }
}

TEST(NextLocalOccurrence, EveryResultIsAheadOnAWholeLocalMinuteWithin25Hours)
{
    std::mt19937 random(2026);
#ifdef _WIN32
    // Windows' own zone, whichever it is.
    ExpectAheadOnAWholeLocalMinuteWithin25Hours(random);
#else
    for (const char* zone : {kBerlin, kNewYork, kKolkata, kTokyo}) {
        SCOPED_TRACE(zone);
        UseTimeZone(zone);
        ExpectAheadOnAWholeLocalMinuteWithin25Hours(random);
    }
#endif
}
