// Program entry: fonts, window class, main window and the message loop.
#include "main_window.h"

#include <commctrl.h>

#include "main_window_class.h"
#include "resource.h"

HFONT titleFont = nullptr;
HFONT bodyFont = nullptr;

static const wchar_t kClassName[] = QUILLET_WINDOW_CLASS;
static const wchar_t kWindowTitle[] = L"Quillet";
static const DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // 0x00CA0000
static const int kClientWidth = 480;
static const int kClientHeight = 310;

// Registers the up-down and date-and-time picker classes the controls use.
void InitCommonControlClasses()
{
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_UPDOWN_CLASS | ICC_DATE_CLASSES;
    InitCommonControlsEx(&classes);
}

// One face at a fixed pixel cell height; a failure leaves a null handle,
// with which the controls draw in the system font.
static HFONT CreateUiFont(int height, int weight)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
}

void CreateFonts()
{
    titleFont = CreateUiFont(28, FW_SEMIBOLD);
    bodyFont = CreateUiFont(17, FW_NORMAL);
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    if (windowClass.hIcon == nullptr)
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = CreateSolidBrush(kBackgroundColour);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = windowClass.hIcon;
    return RegisterClassExW(&windowClass) != 0;
}

// The outer size follows from the fixed client area and the system's frame.
HWND CreateMainWindow(HINSTANCE instance)
{
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    return CreateWindowExW(0, kClassName, kWindowTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           instance, nullptr);
}

// A shortcut set to run minimized passes its wish through the start-up record.
int StartupShowCommand()
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

// No dialog navigation and no accelerators: plain translate and dispatch.
int RunMessageLoop()
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    SetProcessDPIAware();
    InitCommonControlClasses();
    CreateFonts();
    if (!RegisterMainWindowClass(instance))
        return 1;
    HWND window = CreateMainWindow(instance);
    if (window == nullptr)
        return 1;
    ShowWindow(window, StartupShowCommand());
    UpdateWindow(window);
    return RunMessageLoop();
}
