// Records every low-level keyboard event on the desktop into a file, one line
// each with its GetTickCount64 time, until its thread gets WM_QUIT.
#include <windows.h>

#include <cstdio>

static HANDLE output = INVALID_HANDLE_VALUE;

static void WriteLine(const char* line)
{
    DWORD written = 0;
    WriteFile(output, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
}

static LRESULT CALLBACK RecordKey(int code, WPARAM message, LPARAM param)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(param);
        char line[128];
        std::snprintf(line, sizeof line, "key %llu %lu %lu %lu %u\n",
                      static_cast<unsigned long long>(GetTickCount64()), key->vkCode, key->scanCode,
                      key->flags, static_cast<unsigned>(message));
        WriteLine(line);
    }
    return CallNextHookEx(nullptr, code, message, param);
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: key_recorder OUTPUT-FILE\n");
        return 2;
    }
    output =
        CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return 3;
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RecordKey, GetModuleHandleW(nullptr), 0);
    if (hook == nullptr)
        return 4;
    // The thread's queue must exist before anyone posts WM_QUIT to it.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    char line[64];
    std::snprintf(line, sizeof line, "ready %llu\n",
                  static_cast<unsigned long long>(GetTickCount64()));
    WriteLine(line);

    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
    WriteLine("done\n");
    CloseHandle(output);
    return 0;
}
