// Whatever text lands in the interval box, GetDlgItemInt reads it as the
// platform does, and switching on schedules the press from that reading,
// clamped, and leaves the text alone.
#include "window_fixture.h"

#include <iterator>

#include "box_text_readings.h"

namespace {

// Wine's ntdll exports its version; Windows' does not.
bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Minutes scheduled for each row of kBoxTextReadings, from the Windows and
// the Wine reading: not translated 5, 0 gives 1, above 60 gives 60.
// clang-format off
const uint32_t kMinutes[][2] = {
    {5, 5},   // empty
    {1, 1},   // zero
    {1, 1},   // one
    {5, 5},   // default
    {7, 7},   // leading zeros
    {60, 60}, // sixty
    {60, 60}, // sixty-one
    {60, 60}, // three billion
    {60, 60}, // largest unsigned
    {5, 60},  // minus
    {5, 5},   // one past the largest unsigned
    {5, 5},   // twenty digits
    {60, 5},  // largest after an overflow
    {42, 42}, // zero padding past ten digits
    {42, 4},  // zero padding to thirty
    {7, 7},   // leading blanks
    {5, 7},   // trailing blank
    {5, 5},   // letters
    {5, 12},  // digits then letters
    {5, 5},   // decimal point
    {5, 5},   // plus
    {5, 1},   // hexadecimal
    {5, 5},   // full-width digit
    {5, 5},   // Arabic-Indic digit
};
// clang-format on
static_assert(std::size(kMinutes) == std::size(kBoxTextReadings), "one entry per reading");

} // namespace

using BadInputTest = MainWindowTest;

TEST_F(BadInputTest, EachTextIsReadAndScheduledAsThePlatformReadsIt)
{
    const size_t platform = UnderWine() ? 1 : 0;
    HWND edit = GetDlgItem(window, IDC_INTERVAL);
    for (size_t i = 0; i < std::size(kBoxTextReadings); ++i) {
        const BoxTextReading& row = kBoxTextReadings[i];
        SCOPED_TRACE(row.what);
        EXPECT_TRUE(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(row.text)));
        BOOL translated = TRUE;
        const UINT read = GetDlgItemInt(window, IDC_INTERVAL, &translated, FALSE);
        EXPECT_EQ(platform == 1 ? row.wine : row.windows,
                  translated ? int64_t{read} : kNotTranslated);

        // Seeded with 5489, the first draw is 113 %: the wait names the minutes.
        keepAwake.rng.seed(5489);
        const uint64_t wait = kMinutes[i][platform] * 113ull * 600;
        const uint64_t before = GetTickCount64();
        Click(window, IDC_ACTIVATE);
        const uint64_t after = GetTickCount64();
        ASSERT_TRUE(keepAwake.active);
        EXPECT_LE(before + wait, keepAwake.nextKeyTick);
        EXPECT_GE(after + wait, keepAwake.nextKeyTick);
        EXPECT_EQ(std::wstring(row.text), WindowText(edit));
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
