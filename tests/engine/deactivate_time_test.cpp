// The next local occurrence of the picked time, in real time zones.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "local_time.h"
#include "test_time.h"

// The zones the cases run in; the Windows runtime reads only the POSIX form.
struct Zone {
    const char* iana;
    const char* posix;
};
static const Zone kBerlin = {"Europe/Berlin", "CET-1CEST,M3.5.0,M10.5.0/3"};
static const Zone kNewYork = {"America/New_York", "EST5EDT,M3.2.0,M11.1.0"};
static const Zone kTokyo = {"Asia/Tokyo", "JST-9"};

static void Use(const Zone& zone)
{
#ifdef _WIN32
    UseTimeZone(zone.posix);
#else
    UseTimeZone(zone.iana);
#endif
}

// Wine's runtime takes names and offsets from a POSIX TZ but always applies
// the US change dates, so rows that hang on Europe's dates run natively only.
#ifdef _WIN32
static const bool kEuropeanChangeDates = false;
#else
static const bool kEuropeanChangeDates = true;
#endif

// A local wall-clock time given as UTC plus the zone's offset then in force.
static int64_t Local(int y, int mo, int d, int h, int mi, int s, int offsetHours)
{
    return UtcSeconds(y, mo, d, h, mi, s) - int64_t{offsetHours} * 3600;
}

TEST(NextLocalOccurrence, CasesAcrossZonesAndCalendars)
{
    struct Row {
        const char* what;
        const Zone* zone;
        int64_t now;
        int hour, minute;
        int64_t expected;
        bool needsEuropeanDates;
    } rows[] = {
        {"one second before", &kBerlin, Local(2026, 12, 7, 9, 59, 59, 1), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, 1), false},
        {"exactly at: tomorrow", &kBerlin, Local(2026, 12, 7, 10, 0, 0, 1), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, 1), false},
        {"half a minute after", &kBerlin, Local(2026, 12, 7, 10, 0, 30, 1), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, 1), false},
        {"midnight is always tomorrow", &kBerlin, Local(2026, 12, 7, 0, 0, 0, 1), 0, 0,
         Local(2026, 12, 8, 0, 0, 0, 1), false},
        {"new year", &kBerlin, Local(2026, 12, 31, 23, 30, 0, 1), 23, 0,
         Local(2027, 1, 1, 23, 0, 0, 1), false},
        {"leap day", &kBerlin, Local(2028, 2, 28, 12, 0, 0, 1), 11, 0,
         Local(2028, 2, 29, 11, 0, 0, 1), false},
        {"no leap day", &kBerlin, Local(2027, 2, 28, 12, 0, 0, 1), 11, 0,
         Local(2027, 3, 1, 11, 0, 0, 1), false},
        {"evening before spring forward: 22 h", &kBerlin, Local(2026, 3, 28, 22, 0, 0, 1), 21, 0,
         Local(2026, 3, 29, 21, 0, 0, 2), true},
        {"evening before fall back: 24 h", &kBerlin, Local(2026, 10, 24, 22, 0, 0, 2), 21, 0,
         Local(2026, 10, 25, 21, 0, 0, 1), true},
        {"summer, later today", &kBerlin, Local(2026, 7, 1, 8, 15, 0, 2), 17, 45,
         Local(2026, 7, 1, 17, 45, 0, 2), false},
        {"one second before", &kNewYork, Local(2026, 12, 7, 9, 59, 59, -5), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, -5), false},
        {"exactly at: tomorrow", &kNewYork, Local(2026, 12, 7, 10, 0, 0, -5), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, -5), false},
        {"evening before spring forward: 22 h", &kNewYork, Local(2026, 3, 7, 22, 0, 0, -5), 21, 0,
         Local(2026, 3, 8, 21, 0, 0, -4), false},
        {"evening before fall back: 24 h", &kNewYork, Local(2026, 10, 31, 22, 0, 0, -4), 21, 0,
         Local(2026, 11, 1, 21, 0, 0, -5), false},
        {"new year", &kNewYork, Local(2026, 12, 31, 23, 30, 0, -5), 23, 0,
         Local(2027, 1, 1, 23, 0, 0, -5), false},
        {"one second before", &kTokyo, Local(2026, 12, 7, 9, 59, 59, 9), 10, 0,
         Local(2026, 12, 7, 10, 0, 0, 9), false},
        {"exactly at: 86,400 s", &kTokyo, Local(2026, 12, 7, 10, 0, 0, 9), 10, 0,
         Local(2026, 12, 8, 10, 0, 0, 9), false},
        {"late evening to early morning", &kTokyo, Local(2026, 12, 7, 23, 30, 0, 9), 7, 0,
         Local(2026, 12, 8, 7, 0, 0, 9), false},
    };
    for (const Row& row : rows) {
        if (row.needsEuropeanDates && !kEuropeanChangeDates)
            continue;
        SCOPED_TRACE(testing::Message() << row.zone->iana << ": " << row.what);
        Use(*row.zone);
        EXPECT_EQ(row.expected, NextLocalOccurrence(row.now, row.hour, row.minute));
    }
}

TEST(NextLocalOccurrence, TimeInsideTheSpringForwardGap)
{
    // 02:30 does not exist on the morning the clocks go forward; mktime moves
    // it to one side of the gap. Either way the result lies ahead on a whole
    // minute, read with one of the two offsets.
    struct Row {
        const Zone* zone;
        int year, month, day;
        int standardOffset;
        bool needsEuropeanDates;
    } rows[] = {
        {&kNewYork, 2026, 3, 8, -5, false},
        {&kBerlin, 2026, 3, 29, 1, true},
    };
    for (const Row& row : rows) {
        if (row.needsEuropeanDates && !kEuropeanChangeDates)
            continue;
        SCOPED_TRACE(row.zone->iana);
        Use(*row.zone);
        const int64_t now = Local(row.year, row.month, row.day, 1, 0, 0, row.standardOffset);
        const int64_t result = NextLocalOccurrence(now, 2, 30);
        const int64_t asStandard =
            Local(row.year, row.month, row.day, 2, 30, 0, row.standardOffset);
        const int64_t asSummer =
            Local(row.year, row.month, row.day, 2, 30, 0, row.standardOffset + 1);
        EXPECT_TRUE(result == asStandard || result == asSummer) << result;
        EXPECT_GT(result, now);
    }
}

TEST(ComputeDeactivateTime, PickerDateSecondsAndMillisecondsAreIgnored)
{
    ResetEngineAndFake();
    const int64_t expected = fake.calendarTime + 4200; // 14:00 UTC at 12:50 UTC
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

TEST(ComputeDeactivateTime, AsksThePickerFirstThenTheClock)
{
    ResetEngineAndFake();
    ComputeDeactivateTime(kFakeWindow);
    const std::vector<PlatformCall> expected = {kPickerCall, kTimeCall};
    EXPECT_EQ(expected, fake.calls);
}

#ifndef _WIN32
// The exact bound is the shim's; the Windows runtime under Wine draws it elsewhere.
TEST(NextLocalOccurrence, NothingPastTheLastCalendarTime)
{
    UseTimeZone("UTC0");
    const int64_t last = kLastCalendarTime; // 3001-01-19 07:59:59 UTC
    EXPECT_EQ(0, NextLocalOccurrence(last + 1, 10, 0));
    EXPECT_EQ(0, NextLocalOccurrence(-1, 10, 0));
    EXPECT_EQ(0, NextLocalOccurrence(last - 1800, 7, 0));          // tomorrow 07:00 is past the end
    EXPECT_EQ(last - 59, NextLocalOccurrence(last - 1800, 7, 59)); // 07:59:00 today is not
    EXPECT_EQ(0, NextLocalOccurrence(last, 8, 0));
}
#endif

TEST(NextLocalOccurrence, EveryResultIsAheadOnAWholeLocalMinuteWithin25Hours)
{
    std::mt19937 random(2026);
    const Zone* zones[] = {&kBerlin, &kNewYork, &kTokyo};
    for (const Zone* zone : zones) {
        SCOPED_TRACE(zone->iana);
        Use(*zone);
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
}
