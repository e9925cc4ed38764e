// Stands in for a suite in the kit's proof, ending as a broken one would.
// STAND_IN picks how: 'c' crashes (access violation), 'h' hangs with a child
// of its own, 'l' prints a pass but exits 1, 'p' passes.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (STAND_IN == 'c')
        *static_cast<volatile int*>(nullptr) = 1;
    if (STAND_IN == 'l')
        std::printf("[  PASSED  ] 1 test.\n8 passed, 0 failed\n");
    if (STAND_IN != 'h')
        return STAND_IN == 'l' ? 1 : 0;
    if (argc < 2 || std::wcscmp(argv[1], L"child") != 0) {
        // Something it started must be stopped with it.
        wchar_t self[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" child";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &child);
    }
    Sleep(INFINITE);
    return 0;
}
