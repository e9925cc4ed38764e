// What the window shows first, and how clicks and ticks move it through the
// label and enabled-state rows.
#include "window_fixture.h"

#include <commctrl.h>
#include <ctime>
#include <cwchar>
#include <utility>

#include "test_time.h"

namespace {

const wchar_t kNoKeys[] = L"No key events are being sent.";
const wchar_t kAutoOff[] = L"Auto-deactivate is off.";
const wchar_t kAutoNext[] = L"Auto-deactivate will start with the next activation.";
const wchar_t kAutoDone[] = L"Automatically deactivated at the scheduled time.";

struct EnabledRow {
    bool activate, deactivate, check, picker;
};

void ExpectEnabled(HWND window, const EnabledRow& expected)
{
    EXPECT_EQ(expected.activate, ItemEnabled(window, IDC_ACTIVATE));
    EXPECT_EQ(expected.deactivate, ItemEnabled(window, IDC_DEACTIVATE));
    EXPECT_EQ(expected.check, ItemEnabled(window, IDC_AUTO_CHECK));
    EXPECT_EQ(expected.picker, ItemEnabled(window, IDC_AUTO_TIME));
    // The interval may change at any time.
    EXPECT_TRUE(ItemEnabled(window, IDC_INTERVAL));
    EXPECT_TRUE(ItemEnabled(window, IDC_INTERVAL_SPIN));
}

// Seeded with 5489, a switch-on draws 113 %: 339,000 ms at the default 5
// minutes. The picker's time, 14:00 local (date unused).
const uint64_t kSeededWaitMs = 5 * 113 * 600;
const SYSTEMTIME kPicked = {2026, 12, 1, 7, 14, 0, 0, 0};

// Both clocks, read together just before or just after an action.
struct Clocks {
    uint64_t tick;
    int64_t time;
};

// The first 14:00:00 local time after the clock reading, in Windows' zone
// as Windows reckons it.
int64_t NextPickedTime(const Clocks& now)
{
    const CivilTime today = LocalCivilTime(now.time);
    const int64_t at =
        LocalSeconds(today.year, today.month, today.day, kPicked.wHour, kPicked.wMinute, 0);
    if (at > now.time)
        return at;
    // 14:00 is far from midnight: a day on is tomorrow, whatever the clocks do.
    const CivilTime tomorrow = LocalCivilTime(at + 86400);
    return LocalSeconds(tomorrow.year, tomorrow.month, tomorrow.day, kPicked.wHour, kPicked.wMinute,
                        0);
}

// The two status lines while active, at one reading of the clocks, with the
// switch-off at at (0: none), dated in Windows' local time; a begun second
// counts in full.
std::wstring ActiveLines(const Clocks& now, int64_t at)
{
    const uint64_t due = keepAwake.nextKeyTick;
    const unsigned next = static_cast<unsigned>(due > now.tick ? (due - now.tick + 999) / 1000 : 0);
    const unsigned left = static_cast<unsigned>(at > now.time ? at - now.time : 0);
    wchar_t lines[120];
    swprintf(lines, 120, L"Next F15 in %um %us\nAuto-deactivate in %uh %um %us (%ls)", next / 60,
             next % 60, left / 3600, left % 3600 / 60, left % 60, LocalMinuteText(at).c_str());
    return at != 0 ? lines : std::wstring(lines, std::wcschr(lines, L'\n') + 1) + kAutoOff;
}

// The expectation at the clocks after an action if met, else the one before.
template <typename T> T Matching(const T& shown, const T& before, const T& after)
{
    return shown == after ? after : before;
}

enum Action {
    NOTHING,
    CLICK_ACTIVATE,
    CLICK_DEACTIVATE,
    CLICK_CHECK,
    TICK,
    TICK_AT_SWITCH_OFF, // the switch-off time has come, and a press is due too
};

struct Step {
    const char* what;
    Action action;
    bool active;
    const wchar_t* autoText; // inactive rows only
    EnabledRow enabled;
    bool ticked;
};

// One path through every row of the label table and every transition.
// clang-format off
const Step kSteps[] = {
    {"first refresh", NOTHING, false, kAutoNext, {true, false, true, true}, true},
    {"untick", CLICK_CHECK, false, kAutoOff, {true, false, true, false}, false},
    {"tick again", CLICK_CHECK, false, kAutoNext, {true, false, true, true}, true},
    {"switch on with a switch-off time", CLICK_ACTIVATE, true, nullptr, {false, true, false, false}, true},
    {"a tick while on", TICK, true, nullptr, {false, true, false, false}, true},
    {"switch off by hand, ticked", CLICK_DEACTIVATE, false, kAutoNext, {true, false, true, true}, true},
    {"untick", CLICK_CHECK, false, kAutoOff, {true, false, true, false}, false},
    {"switch on without a switch-off time", CLICK_ACTIVATE, true, nullptr, {false, true, false, false}, false},
    {"a tick without a switch-off time", TICK, true, nullptr, {false, true, false, false}, false},
    {"switch off by hand, unticked", CLICK_DEACTIVATE, false, kAutoOff, {true, false, true, false}, false},
    {"tick the box", CLICK_CHECK, false, kAutoNext, {true, false, true, true}, true},
    {"switch on", CLICK_ACTIVATE, true, nullptr, {false, true, false, false}, true},
    {"the switch-off tick", TICK_AT_SWITCH_OFF, false, kAutoDone, {true, false, true, true}, true},
    {"a tick while off changes nothing", TICK, false, kAutoDone, {true, false, true, true}, true},
    {"untick after the switch-off", CLICK_CHECK, false, kAutoDone, {true, false, true, false}, false},
    {"tick after the switch-off", CLICK_CHECK, false, kAutoDone, {true, false, true, true}, true},
    {"switch on again", CLICK_ACTIVATE, true, nullptr, {false, true, false, false}, true},
    {"switch off by hand", CLICK_DEACTIVATE, false, kAutoNext, {true, false, true, true}, true},
};
// clang-format on

// Only the timer messages have a result to check.
void Perform(HWND window, Action action)
{
    // clang-format off
    switch (action) {
    case NOTHING: break;
    case CLICK_ACTIVATE: keepAwake.rng.seed(5489); Click(window, IDC_ACTIVATE); break;
    case CLICK_DEACTIVATE: Click(window, IDC_DEACTIVATE); break;
    case CLICK_CHECK: Click(window, IDC_AUTO_CHECK); break;
    case TICK: EXPECT_EQ(0, Tick(window)); break;
    case TICK_AT_SWITCH_OFF:
        keepAwake.deactivateAt = static_cast<int64_t>(time(nullptr));
        keepAwake.nextKeyTick = 1;
        EXPECT_EQ(0, Tick(window));
        break;
    }
    // clang-format on
}

} // namespace

using FirstStateTest = MainWindowTest;

// The first texts and enabled states: the "first refresh" row below.
TEST_F(FirstStateTest, NothingHasTheFocus)
{
    // The main window keeps the focus until the user clicks.
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == nullptr || focus == window);
}

// The arrows step the box by one and stop at the ends; no wrap.
TEST_F(FirstStateTest, UpDownStepsTheBoxWithinItsRange)
{
    HWND spin = GetDlgItem(window, IDC_INTERVAL_SPIN);
    struct Row {
        int from;
        int delta;
        const wchar_t* shown;
    };
    const Row rows[] = {{5, 1, L"6"}, {5, -1, L"4"}, {60, 1, L"60"}, {1, -1, L"1"}, {59, 1, L"60"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << " by " << row.delta);
        SendMessageW(spin, UDM_SETPOS32, 0, row.from);
        // Up and Down pressed in the box reach the up-down through its buddy.
        HWND edit = GetDlgItem(window, IDC_INTERVAL);
        SendMessageW(edit, WM_KEYDOWN, row.delta > 0 ? VK_UP : VK_DOWN, 0);
        SendMessageW(edit, WM_KEYUP, row.delta > 0 ? VK_UP : VK_DOWN, 0);
        EXPECT_EQ(std::wstring(row.shown), ItemText(window, IDC_INTERVAL));
    }
}

TEST_F(FirstStateTest, PickerOneHourAheadToTheMinute)
{
    HWND picker = GetDlgItem(window, IDC_AUTO_TIME);
    SYSTEMTIME shown = {};
    ASSERT_EQ(GDT_VALID,
              SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)));
    // The window was made a moment ago: accept the minute of then or of now.
    const int64_t now = static_cast<int64_t>(time(nullptr));
    bool matched = false;
    for (int64_t when : {now + 3600, now + 3600 - 60}) {
        const CivilTime local = LocalCivilTime(when); // as Windows reckons it
        matched = matched || (shown.wYear == local.year && shown.wMonth == local.month &&
                              shown.wDay == local.day && shown.wHour == local.hour &&
                              shown.wMinute == local.minute);
    }
    EXPECT_TRUE(matched) << shown.wYear << "-" << shown.wMonth << "-" << shown.wDay << " "
                         << shown.wHour << ":" << shown.wMinute;
    EXPECT_EQ(0, shown.wSecond);
    // The picker's text follows "HH':'mm": two-digit hour, colon, minute.
    wchar_t expected[8] = {};
    swprintf(expected, 8, L"%02u:%02u", shown.wHour, shown.wMinute);
    EXPECT_EQ(std::wstring(expected), WindowText(picker));
}

using StateTableTest = MainWindowTest;

TEST_F(StateTableTest, ClicksAndTicksWalkEveryRow)
{
    ASSERT_TRUE(SendMessageW(GetDlgItem(window, IDC_AUTO_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
                             reinterpret_cast<LPARAM>(&kPicked)));
    std::pair<Clocks, Clocks> clicked = {};
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.what);
        const Clocks before = {GetTickCount64(), time(nullptr)};
        Perform(window, step.action);
        const Clocks after = {GetTickCount64(), time(nullptr)};
        if (step.action == CLICK_ACTIVATE)
            clicked = {before, after};
        EXPECT_EQ(step.active, keepAwake.active);
        ExpectEnabled(window, step.enabled);
        EXPECT_EQ(step.ticked ? static_cast<UINT>(BST_CHECKED) : static_cast<UINT>(BST_UNCHECKED),
                  IsDlgButtonChecked(window, IDC_AUTO_CHECK));
        EXPECT_EQ(std::wstring(step.active ? L"ACTIVE" : L"INACTIVE"),
                  ItemText(window, IDC_STATE_LABEL));
        const std::wstring shown =
            ItemText(window, IDC_NEXT_KEY_LABEL) + L"\n" + ItemText(window, IDC_AUTO_LABEL);
        if (step.active) {
            EXPECT_LE(clicked.first.tick + kSeededWaitMs, keepAwake.nextKeyTick);
            EXPECT_GE(clicked.second.tick + kSeededWaitMs, keepAwake.nextKeyTick);
            // Ticked at the click: the picker's time, next after the click.
            const int64_t at = !step.ticked
                                   ? 0
                                   : Matching(keepAwake.deactivateAt, NextPickedTime(clicked.first),
                                              NextPickedTime(clicked.second));
            EXPECT_EQ(at, keepAwake.deactivateAt);
            EXPECT_EQ(Matching(shown, ActiveLines(before, at), ActiveLines(after, at)), shown);
        } else {
            EXPECT_EQ(kNoKeys + (L"\n" + std::wstring(step.autoText)), shown);
        }
    }
}

// A refresh that finds the press already due counts down from 0.
TEST_F(StateTableTest, DuePressShowsZeroRemaining)
{
    Click(window, IDC_ACTIVATE);
    ASSERT_TRUE(keepAwake.active);
    keepAwake.nextKeyTick = 1;
    // The check box is disabled while on; its command still refreshes.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_AUTO_CHECK, BN_CLICKED), 0);
    EXPECT_EQ(std::wstring(L"Next F15 in 0m 0s"), ItemText(window, IDC_NEXT_KEY_LABEL));
}

namespace {

struct IgnoredMessage {
    const char* what;
    UINT message;
    WPARAM wParam;
    bool whileActive;
};

// clang-format off
const IgnoredMessage kIgnored[] = {
    {"Active with a notification code", WM_COMMAND, MAKEWPARAM(IDC_ACTIVATE, BN_DOUBLECLICKED), false},
    {"Active with an edit notification code", WM_COMMAND, MAKEWPARAM(IDC_ACTIVATE, EN_CHANGE), false},
    {"Deactive with a notification code", WM_COMMAND, MAKEWPARAM(IDC_DEACTIVATE, BN_SETFOCUS), true},
    {"check box with a notification code", WM_COMMAND, MAKEWPARAM(IDC_AUTO_CHECK, 0xFFFF), false},
    {"edit box change", WM_COMMAND, MAKEWPARAM(IDC_INTERVAL, EN_CHANGE), true},
    {"click from the edit box's id", WM_COMMAND, MAKEWPARAM(IDC_INTERVAL, 0), false},
    {"click from the state label's id", WM_COMMAND, MAKEWPARAM(IDC_STATE_LABEL, 0), true},
    {"click from an unknown id", WM_COMMAND, MAKEWPARAM(9999, 0), false},
    {"click from id 0", WM_COMMAND, MAKEWPARAM(0, 0), true},
    {"timer 2 while on", WM_TIMER, 2, true},
    {"timer 0 while on", WM_TIMER, 0, true},
    {"timer 1 while off", WM_TIMER, TICK_TIMER_ID, false},
    {"timer 2 while off", WM_TIMER, 2, false},
#ifdef _WIN64
    // Compared over the full width: 1 in the low half only is another timer.
    {"timer 1 plus high bits while on", WM_TIMER, (static_cast<WPARAM>(1) << 32) | 1, true},
#endif
};
// clang-format on

} // namespace

TEST_F(StateTableTest, UnmatchedCommandsAndTimersChangeNothing)
{
    for (const IgnoredMessage& row : kIgnored) {
        SCOPED_TRACE(row.what);
        if (row.whileActive != keepAwake.active)
            SendMessageW(window, WM_COMMAND,
                         MAKEWPARAM(row.whileActive ? IDC_ACTIVATE : IDC_DEACTIVATE, 0), 0);
        ASSERT_EQ(row.whileActive, keepAwake.active);
        // A refresh would overwrite these.
        SetDlgItemTextW(window, IDC_STATE_LABEL, L"marker 1");
        SetDlgItemTextW(window, IDC_NEXT_KEY_LABEL, L"marker 2");
        SetDlgItemTextW(window, IDC_AUTO_LABEL, L"marker 3");
        const KeepAwakeState before = keepAwake;
        EXPECT_EQ(0, SendMessageW(window, row.message, row.wParam, 0));
        EXPECT_EQ(before.active, keepAwake.active);
        EXPECT_EQ(before.autoDeactivated, keepAwake.autoDeactivated);
        EXPECT_EQ(before.nextKeyTick, keepAwake.nextKeyTick);
        EXPECT_EQ(before.deactivateAt, keepAwake.deactivateAt);
        EXPECT_EQ(std::wstring(L"marker 1"), ItemText(window, IDC_STATE_LABEL));
        EXPECT_EQ(std::wstring(L"marker 2"), ItemText(window, IDC_NEXT_KEY_LABEL));
        EXPECT_EQ(std::wstring(L"marker 3"), ItemText(window, IDC_AUTO_LABEL));
    }
}

// Only bits 0 to 31 of wParam carry the command; the rest is not looked at.
TEST_F(StateTableTest, CommandIgnoresHighBitsOfWParam)
{
#ifdef _WIN64
    EXPECT_EQ(
        0, SendMessageW(window, WM_COMMAND, (static_cast<WPARAM>(0xABCD) << 32) | IDC_ACTIVATE, 0));
    EXPECT_TRUE(keepAwake.active);
    EXPECT_EQ(std::wstring(L"ACTIVE"), ItemText(window, IDC_STATE_LABEL));
#else
    GTEST_SKIP() << "wParam has no high half on 32-bit Windows";
#endif
}

// The window's own one-second timer drives the refresh while active, and
// only then. Real ticks come late when the machine is busy: wait for them.
TEST_F(StateTableTest, RealTimerRefreshesOnlyWhileActive)
{
    SetDlgItemTextW(window, IDC_NEXT_KEY_LABEL, L"marker");
    ASSERT_EQ(2, PumpMessages(5000, window, 2));
    EXPECT_EQ(std::wstring(L"marker"), ItemText(window, IDC_NEXT_KEY_LABEL));

    Click(window, IDC_ACTIVATE);
    ASSERT_TRUE(keepAwake.active);
    SetDlgItemTextW(window, IDC_NEXT_KEY_LABEL, L"marker");
    ASSERT_EQ(1, PumpMessages(5000, window, 1));
    const std::wstring shown = ItemText(window, IDC_NEXT_KEY_LABEL);
    EXPECT_EQ(0u, shown.find(L"Next F15 in ")) << testing::PrintToString(shown);
}
