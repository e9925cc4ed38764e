// The main window's fourteen child controls, their fonts and first values.
#include "main_window.h"

#include <commctrl.h>
#include <ctime>

#include "control_ids.h"
#include "local_time.h"
#include "platform.h"

// The edit box becomes the buddy; the platform then moves the up-down
// against its right edge and narrows it by the up-down's width.
static void SetUpIntervalSpin(HWND window)
{
    HWND spin = GetDlgItem(window, IDC_INTERVAL_SPIN);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_INTERVAL)), 0);
    SendMessageW(spin, UDM_SETRANGE32, 1, 60);
    SendMessageW(spin, UDM_SETPOS32, 0, 5);
}

// Hour and minute on the 24-hour clock with a literal colon.
static void SetPickerFormat(HWND window)
{
    SendMessageW(GetDlgItem(window, IDC_AUTO_TIME), DTM_SETFORMATW, 0,
                 reinterpret_cast<LPARAM>(L"HH':'mm"));
}

// One hour from now in local time; a time that cannot be converted leaves
// the picker at the value it was created with.
static void SetPickerFirstTime(HWND window)
{
    const int64_t later = static_cast<int64_t>(time(nullptr)) + 3600;
    std::tm local{};
    if (LocalTime(&local, &later) != 0)
        return;
    SYSTEMTIME value = {};
    value.wYear = static_cast<WORD>(local.tm_year + 1900);
    value.wMonth = static_cast<WORD>(local.tm_mon + 1);
    value.wDay = static_cast<WORD>(local.tm_mday);
    value.wHour = static_cast<WORD>(local.tm_hour);
    value.wMinute = static_cast<WORD>(local.tm_min);
    SendMessageW(GetDlgItem(window, IDC_AUTO_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
                 reinterpret_cast<LPARAM>(&value));
}

// Once the whole switch-off row exists: the picker's first time, then the
// check box ticked.
static void SetFirstValues(HWND window)
{
    SetPickerFirstTime(window);
    CheckDlgButton(window, IDC_AUTO_CHECK, BST_CHECKED);
}

struct ControlSpec {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    int x, y, width, height;
    int id;
    HFONT* font;
    void (*then)(HWND window); // what follows once the control has its font
};

// In creation order; the z-order and thus the painting follow it.
// clang-format off
static const ControlSpec kControls[] = {
    {L"STATIC", L"Quillet", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 20, 210, 34, 0, &titleFont, nullptr},
    {L"STATIC", L"Random F15 keep-awake utility", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 56, 300, 22, 0, &bodyFont, nullptr},
    {L"STATIC", L"Interval", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 96, 70, 24, 0, &bodyFont, nullptr},
    {L"EDIT", L"5", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER, 96, 92, 58, 28, IDC_INTERVAL, &bodyFont, nullptr},
    {UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 154, 92, 20, 28, IDC_INTERVAL_SPIN, &bodyFont, SetUpIntervalSpin},
    {L"STATIC", L"minutes (randomized \u00B120%)", WS_CHILD | WS_VISIBLE | SS_LEFT, 184, 96, 200, 24, 0, &bodyFont, nullptr},
    {L"BUTTON", L"Auto deactivate at", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 24, 132, 156, 28, IDC_AUTO_CHECK, &bodyFont, nullptr},
    {DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, 190, 130, 100, 28, IDC_AUTO_TIME, &bodyFont, SetPickerFormat},
    {L"STATIC", L"local time", WS_CHILD | WS_VISIBLE | SS_LEFT, 302, 135, 100, 24, 0, &bodyFont, SetFirstValues},
    {L"BUTTON", L"Active", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 24, 178, 116, 38, IDC_ACTIVATE, &bodyFont, nullptr},
    {L"BUTTON", L"Deactive", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 150, 178, 116, 38, IDC_DEACTIVATE, &bodyFont, nullptr},
    {L"STATIC", L"INACTIVE", WS_CHILD | WS_VISIBLE | SS_CENTER, 306, 180, 116, 24, IDC_STATE_LABEL, &bodyFont, nullptr},
    {L"STATIC", L"No key events are being sent.", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 231, 430, 24, IDC_NEXT_KEY_LABEL, &bodyFont, nullptr},
    {L"STATIC", L"Auto-deactivate is off.", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 260, 430, 24, IDC_AUTO_LABEL, &bodyFont, nullptr},
};
// clang-format on

// The only place that creates controls or gives them fonts; a control that
// fails to appear is not detected, and the rest are still made.
void CreateControls(HWND window)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlSpec& spec : kControls) {
        HWND control = CreateWindowExW(
            0, spec.className, spec.text, spec.style, spec.x, spec.y, spec.width, spec.height,
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(*spec.font), 1);
        if (spec.then != nullptr)
            spec.then(window);
    }
    SetTimer(window, TICK_TIMER_ID, 1000, nullptr);
    RefreshControls(window);
}
