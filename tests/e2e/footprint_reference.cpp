// The floor under Quillet's CPU time while it is on: a bare window with the
// same seven controls that every refresh touches, doing only that refresh's
// unavoidable work once a second (four enabled states, three label texts of
// the same lengths), and nothing else. scripts/footprint runs it beside an
// active Quillet and compares the two.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>

namespace {

const int kFirstId = 100;

// The controls a refresh touches, as Quillet lays them out.
struct Control {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    int x, y, width, height;
};
// clang-format off
const Control kControls[] = {
    {L"BUTTON", L"Active", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 24, 178, 116, 38},
    {L"BUTTON", L"Deactive", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 150, 178, 116, 38},
    {L"BUTTON", L"Auto deactivate at", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 24, 132, 156, 28},
    {DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, 190, 130, 100, 28},
    {L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 306, 180, 116, 24},
    {L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 231, 430, 24},
    {L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 24, 260, 430, 24},
};
// clang-format on

HFONT font = nullptr;
unsigned ticks = 0;

// The three texts an active Quillet shows, at their lengths, counting down.
void Refresh(HWND window)
{
    for (int i = 0; i < 4; ++i)
        EnableWindow(GetDlgItem(window, kFirstId + i), i == 1);
    const unsigned left = 3600 - ticks % 3600;
    wchar_t nextKey[32];
    wchar_t autoOff[64];
    std::swprintf(nextKey, 32, L"Next F15 in %um %us", left / 60 % 10, left % 60);
    std::swprintf(autoOff, 64, L"Auto-deactivate in 1h %um %us (2026-12-07 14:00)", left / 60 % 10,
                  left % 60);
    SetDlgItemTextW(window, kFirstId + 4, L"ACTIVE");
    SetDlgItemTextW(window, kFirstId + 5, nextKey);
    SetDlgItemTextW(window, kFirstId + 6, autoOff);
    ++ticks;
}

LRESULT CALLBACK ReferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // clang-format off
    switch (message) {
    case WM_TIMER: Refresh(window); return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(250, 250, 250));
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(35, 35, 35));
        SetDCBrushColor(reinterpret_cast<HDC>(wParam), RGB(250, 250, 250));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
    // clang-format on
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    font = CreateFontW(17, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ReferenceProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(RGB(250, 250, 250));
    windowClass.lpszClassName = L"QuilletFootprintReference";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Reference",
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 496, 349, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    int id = kFirstId;
    for (const Control& control : kControls) {
        HWND child =
            CreateWindowExW(0, control.className, control.text, control.style, control.x, control.y,
                            control.width, control.height, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
    }
    SetTimer(window, 1, 1000, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return static_cast<int>(message.wParam);
}
