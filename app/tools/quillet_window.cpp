// Helper for scripts/run: waits for the main window and prints where it is,
// or asks it to close, as a user would.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "main_window_class.h"

static const wchar_t kClassName[] = QUILLET_WINDOW_CLASS;

// Prints the window's client area in screen pixels as WIDTHxHEIGHT+X+Y,
// the form ImageMagick's -crop takes, once the window is visible.
static int WaitForWindow(int seconds)
{
    for (int waited = 0; waited < seconds * 10; ++waited) {
        HWND window = FindWindowW(kClassName, nullptr);
        RECT client = {};
        POINT origin = {0, 0};
        if (window != nullptr && IsWindowVisible(window) && GetClientRect(window, &client) &&
            ClientToScreen(window, &origin)) {
            std::printf("%ldx%ld+%ld+%ld\n", client.right, client.bottom, origin.x, origin.y);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}

// Posts WM_CLOSE to every window of the class; 1 when there is none.
static int CloseWindows()
{
    int closed = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kClassName, nullptr)) != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        ++closed;
    }
    return closed > 0 ? 0 : 1;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && std::wcscmp(argv[1], L"wait") == 0)
        return WaitForWindow(argc >= 3 ? _wtoi(argv[2]) : 30);
    if (argc >= 2 && std::wcscmp(argv[1], L"close") == 0)
        return CloseWindows();
    std::fprintf(stderr, "usage: quillet_window wait [seconds] | close\n");
    return 2;
}
