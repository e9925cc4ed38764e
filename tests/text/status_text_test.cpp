// The countdown lines: exact texts for every row, and their odd inputs.
#include <gtest/gtest.h>

#include <climits>

#include "fake_platform.h"
#include "local_time.h"
#include "status_text.h"
#include "test_time.h"

TEST(FormatNextKeyText, Table)
{
    struct Row {
        uint64_t remainingMs;
        const wchar_t* line;
    } rows[] = {
        {290001, L"Next F15 in 4m 51s"},
        {291000, L"Next F15 in 4m 51s"},
        {59001, L"Next F15 in 1m 0s"},
        {60000, L"Next F15 in 1m 0s"},
        {1, L"Next F15 in 0m 1s"},
        {0, L"Next F15 in 0m 0s"},
        {999, L"Next F15 in 0m 1s"},
        {1000, L"Next F15 in 0m 1s"},
        {1001, L"Next F15 in 0m 2s"},
        {4320000, L"Next F15 in 72m 0s"},
        {605000, L"Next F15 in 10m 5s"},
        // A begun second still counts at the very top of the range, with no wrap.
        {UINT64_MAX, L"Next F15 in 307445734561825m 52s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.remainingMs);
        EXPECT_EQ(std::wstring(row.line), FormatNextKeyText(row.remainingMs));
    }
}

TEST(FormatAutoDeactivateText, Table)
{
    ResetEngineAndFake();
    if (!UseTimeZone("Europe/Berlin"))
        GTEST_SKIP() << "dates in Berlin's local time";
    struct Row {
        const char* what;
        int64_t deactivateAt, now;
        const wchar_t* line;
    } rows[] = {
        {"none", 0, 1796647800, L"Auto-deactivate is off."},
        {"2h 15m", UtcSeconds(2026, 12, 7, 13, 0, 0), UtcSeconds(2026, 12, 7, 13, 0, 0) - 8100,
         L"Auto-deactivate in 2h 15m 0s (2026-12-07 14:00)"},
        {"1h 1m 1s", UtcSeconds(2026, 12, 8, 8, 5, 0), UtcSeconds(2026, 12, 8, 8, 5, 0) - 3661,
         L"Auto-deactivate in 1h 1m 1s (2026-12-08 09:05)"},
        {"a full day", UtcSeconds(2026, 12, 8, 9, 0, 0), UtcSeconds(2026, 12, 7, 9, 0, 0),
         L"Auto-deactivate in 24h 0m 0s (2026-12-08 10:00)"},
        {"passed, not yet acted on", UtcSeconds(2026, 12, 7, 9, 0, 0),
         UtcSeconds(2026, 12, 7, 9, 0, 5), L"Auto-deactivate in 0h 0m 0s (2026-12-07 10:00)"},
        {"no leading zeros, but in the date", UtcSeconds(2026, 1, 5, 6, 5, 0),
         UtcSeconds(2026, 1, 5, 6, 5, 0) - 3903, L"Auto-deactivate in 1h 5m 3s (2026-01-05 07:05)"},
        {"summer time", UtcSeconds(2026, 7, 1, 15, 45, 0), UtcSeconds(2026, 7, 1, 15, 45, 0) - 59,
         L"Auto-deactivate in 0h 0m 59s (2026-07-01 17:45)"},
        {"clock past its end reads as negative", UtcSeconds(2026, 12, 7, 9, 0, 0), -1,
         L"Auto-deactivate in 0h 0m 0s (2026-12-07 10:00)"},
        {"switch-off that cannot be converted", -5, 1796647800,
         L"Auto-deactivate in 0h 0m 0s (scheduled time)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        keepAwake.deactivateAt = row.deactivateAt;
        EXPECT_EQ(std::wstring(row.line), FormatAutoDeactivateText(row.now));
        EXPECT_EQ(std::wstring(row.line), FormatDeactivateLine(row.deactivateAt, row.now));
    }
}

TEST(FormatAutoDeactivateText, TwentyFiveHoursAcrossTheClocksGoingBack)
{
    ResetEngineAndFake();
    if (!UseTimeZone("America/New_York"))
        GTEST_SKIP() << "dates in New York's local time";
    keepAwake.deactivateAt = UtcSeconds(2026, 11, 2, 2, 0, 0); // 21:00 EST on 1 November
    EXPECT_EQ(
        std::wstring(L"Auto-deactivate in 25h 0m 0s (2026-11-01 21:00)"),
        FormatAutoDeactivateText(UtcSeconds(2026, 11, 1, 1, 0, 0))); // 21:00 EDT on 31 October
}

TEST(FormatAutoDeactivateText, DateIsTheSwitchOffsNotToday)
{
    // Switched on at 23:30 with 07:00 chosen: the date is tomorrow's.
    ResetEngineAndFake();
    fake.calendarTime = LocalSeconds(2026, 12, 7, 23, 30, 0);
    fake.pickerValue.wHour = 7;
    fake.checkBoxState = BST_CHECKED;
    SetActive(kFakeWindow, true, false);
    EXPECT_EQ(std::wstring(L"Auto-deactivate in 7h 30m 0s (2026-12-08 07:00)"),
              FormatAutoDeactivateText(fake.calendarTime));
}

#ifndef _WIN32
// Exact bounds hold where the time shim is ours; Wine's runtime bounds elsewhere.
TEST(FormatAutoDeactivateText, SwitchOffPastTheLastCalendarTimeShowsScheduledTime)
{
    UseTimeZone("UTC");
    EXPECT_EQ(std::wstring(L"Auto-deactivate in 0h 0m 1s (3001-01-19 07:59)"),
              FormatDeactivateLine(kLastCalendarTime, kLastCalendarTime - 1));
    EXPECT_EQ(std::wstring(L"Auto-deactivate in 0h 0m 1s (scheduled time)"),
              FormatDeactivateLine(kLastCalendarTime + 1, kLastCalendarTime));
}
#endif
