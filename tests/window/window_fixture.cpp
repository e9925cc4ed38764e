// Opening and closing the real main window between tests.
#include "window_fixture.h"

#include <cwctype>

#include "main_window_class.h"

void ResetKeepAwake()
{
    keepAwake.active = false;
    keepAwake.autoDeactivated = false;
    keepAwake.nextKeyTick = 0;
    keepAwake.deactivateAt = 0;
}

HWND OpenMainWindow()
{
    ResetKeepAwake();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    InitCommonControlClasses();
    CreateFonts();
    if (!RegisterMainWindowClass(instance))
        return nullptr;
    return CreateMainWindow(instance);
}

int PumpMessages(DWORD milliseconds, HWND window, int ticks)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    int dispatched = 0;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            dispatched += message.hwnd == window && message.message == WM_TIMER &&
                          message.wParam == TICK_TIMER_ID;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount64() < end && (ticks == 0 || dispatched < ticks));
    return dispatched;
}

void CloseMainWindow(HWND window)
{
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    UnregisterClassW(QUILLET_WINDOW_CLASS, GetModuleHandleW(nullptr));
    ResetKeepAwake();
}

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

std::wstring ItemText(HWND window, int id) { return WindowText(GetDlgItem(window, id)); }

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring lower(name);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

bool ItemEnabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

void Click(HWND window, int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

LRESULT Tick(HWND window) { return SendMessageW(window, WM_TIMER, TICK_TIMER_ID, 0); }

RECT RectInParent(HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Wine's ntdll exports its version; Windows' does not.
bool OnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void MainWindowTest::SetUp()
{
    window = OpenMainWindow();
    ASSERT_NE(nullptr, window);
}

void MainWindowTest::TearDown() { CloseMainWindow(window); }
