// Whatever text lands in the interval box, switching on schedules a press
// within the engine's bounds and leaves the text alone.
#include "window_fixture.h"

#include <string>

namespace {

struct IntervalRow {
    const char* what;
    std::wstring text;
    uint32_t minutes;     // what the engine makes of it
    uint32_t wineMinutes; // where Wine's GetDlgItemInt reads it otherwise; 0: the same
};

// clang-format off
const IntervalRow kRows[] = {
    {"empty", L"", 5, 0},
    {"zero", L"0", 1, 0},
    {"one", L"1", 1, 0},
    {"sixty", L"60", 60, 0},
    {"sixty-one", L"61", 60, 0},
    {"ninety-nine", L"99", 60, 0},
    {"largest unsigned", L"4294967295", 60, 0},
    {"one past the largest unsigned", L"4294967296", 5, 0},
    {"letters", L"abc", 5, 0},
    // Windows refuses text with trailing non-digits; Wine's GetDlgItemInt
    // takes the leading digits, as strtoul does.
    {"digits then letters", L"12abc", 5, 12},
    {"minus one", L"-1", 5, 0},
    {"leading space", L" 7", 7, 0},
    {"thousands of digits", std::wstring(5000, L'9'), 5, 0},
    {"thousands of letters", std::wstring(5000, L'x'), 5, 0},
    {"non-ASCII", L"\u00FC\u00DF\u20AC\u4E94", 5, 0},
};
// clang-format on

} // namespace

using BadInputTest = MainWindowTest;

TEST_F(BadInputTest, AnyTextSchedulesWithinTheClampedBounds)
{
    HWND edit = GetDlgItem(window, IDC_INTERVAL);
    for (const IntervalRow& row : kRows) {
        SCOPED_TRACE(row.what);
        ASSERT_FALSE(keepAwake.active);
        EXPECT_TRUE(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(row.text.c_str())));
        const uint64_t before = GetTickCount64();
        Click(window, IDC_ACTIVATE);
        const uint64_t after = GetTickCount64();
        ASSERT_TRUE(keepAwake.active);
        // 80 to 120 % of the minutes; the bands of 1, 5, 7 and 60 minutes
        // do not overlap, so the band tells which value was used.
        const auto inBand = [&](uint32_t minutes) {
            return keepAwake.nextKeyTick >= before + minutes * 48000ull &&
                   keepAwake.nextKeyTick <= after + minutes * 72000ull;
        };
        EXPECT_TRUE(inBand(row.minutes) || (row.wineMinutes != 0 && inBand(row.wineMinutes)))
            << "wait " << (keepAwake.nextKeyTick - before) << " ms for " << row.minutes
            << " minutes";
        EXPECT_EQ(row.text, WindowText(edit));
        Click(window, IDC_DEACTIVATE);
    }
}

// Typed characters other than digits do not enter the box.
TEST_F(BadInputTest, TypingTakesDigitsOnly)
{
    HWND edit = GetDlgItem(window, IDC_INTERVAL);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    const wchar_t typed[] = {L'a', L'-', L' ', L'+', L'.', L'4'};
    for (wchar_t c : typed)
        SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(std::wstring(L"4"), WindowText(edit));
    SendMessageW(edit, WM_CHAR, L'2', 0);
    EXPECT_EQ(std::wstring(L"42"), WindowText(edit));
}
