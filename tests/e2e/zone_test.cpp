// The switch-off's date and time on screen are the local time of Windows'
// own zone, whatever TZ the program was started with. The C runtime reads a
// TZ variable before it asks Windows, and understands only values like
// "EST5EDT" with US change dates; an IANA name, as Cygwin's shells pass on,
// it silently takes as UTC.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <string>

#include "control_ids.h"
#include "drive.h"
#include "suite_start.h"
#include "test_time.h"

namespace {

std::wstring programPath;

// "Auto-deactivate in Hh Mm Ss (date text)": the seconds left and the date
// text; false when the line has another shape.
bool ParseSwitchOffLine(const std::wstring& line, int64_t* secondsLeft, std::wstring* dateText)
{
    unsigned hours = 0, minutes = 0, seconds = 0;
    int consumed = 0;
    if (std::swscanf(line.c_str(), L"Auto-deactivate in %uh %um %us (%n", &hours, &minutes,
                     &seconds, &consumed) != 3 ||
        consumed == 0 || line.back() != L')')
        return false;
    *secondsLeft = int64_t{hours} * 3600 + int64_t{minutes} * 60 + seconds;
    const size_t dateStart = static_cast<size_t>(consumed);
    *dateText = line.substr(dateStart, line.size() - dateStart - 1);
    return true;
}

TEST(SwitchOffTime, ShownInWindowsZoneWhateverTzSays)
{
    TIME_ZONE_INFORMATION zone = {};
    GetTimeZoneInformation(&zone);
    std::printf("Windows' zone: %ls, bias %ld min\n", zone.StandardName, zone.Bias);

    const std::wstring veryLong(30000, L'A');
    struct Row {
        const char* what;
        const wchar_t* tz; // nullptr: no TZ at all, as Explorer starts programs
    } rows[] = {
        {"no TZ", nullptr},
        {"empty", L""},
        {"an IANA name", L"Europe/Berlin"},
        {"another IANA name", L"Asia/Kolkata"},
        {"a POSIX rule", L"CET-1CEST,M3.5.0,M10.5.0/3"},
        {"the old US form", L"EST5EDT"},
        {"another old US form", L"PST8PDT"},
        {"a half-hour offset", L"IST-5:30"},
        {"very long", veryLong.c_str()},
        {"outside ASCII", L"Europe/Z\u00FCrich \u6771\u4EAC"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::wstring environment = EnvironmentWith(L"TZ", row.tz);
        Started program = {};
        ASSERT_TRUE(StartProgram(programPath, L"", &program, nullptr, &environment));
        const HWND window = WaitForMainWindow(program.processId, 20000);
        ASSERT_NE(nullptr, window) << "no window";

        // Ticked by default with the picker an hour ahead: switching on
        // shows the countdown and the local date and time of the switch-off.
        const int64_t before = static_cast<int64_t>(time(nullptr));
        ClickButton(window, IDC_ACTIVATE);
        const std::wstring line = ReadControlText(window, IDC_AUTO_LABEL);
        const int64_t after = static_cast<int64_t>(time(nullptr));
        std::printf("%-20s %ls\n", row.what, line.c_str());

        int64_t left = 0;
        std::wstring dateText;
        EXPECT_TRUE(ParseSwitchOffLine(line, &left, &dateText)) << line;
        EXPECT_LE(left, 25 * 3600);
        // The switch-off lies on a whole minute, left seconds after the
        // clock the refresh read, which lies between before and after.
        int64_t at = (before + left + 59) / 60 * 60;
        EXPECT_LE(at, after + left) << "no whole minute in the window";
        EXPECT_EQ(LocalMinuteText(at), dateText) << "switch-off at " << at;

        DWORD exitCode = 99;
        EXPECT_TRUE(CloseAndWait(window, program.process, 5000, &exitCode));
        EXPECT_EQ(0u, exitCode);
        ReleaseStarted(&program);
    }
}

} // namespace

int main()
{
    if (!StartSuite("QUILLET.EXE", {&programPath}))
        return 2;
    return RUN_ALL_TESTS();
}
