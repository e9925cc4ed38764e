// Stands in for a suite in the kit's own proof, ending the way a broken
// suite would; STAND_IN picks how: crash (an access violation), hang (it and
// a child of its own never end), liar (prints a pass, exits 1), pass.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#define CRASH 1
#define HANG 2
#define LIAR 3
#define PASS 4

int wmain(int argc, wchar_t** argv)
{
#if STAND_IN == CRASH
    (void)argc;
    (void)argv;
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
#elif STAND_IN == HANG
    // Something it started must be stopped with it.
    if (argc < 2 || std::wcscmp(argv[1], L"child") != 0) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        wchar_t commandLine[MAX_PATH + 16];
        std::swprintf(commandLine, MAX_PATH + 16, L"\"%ls\" child", self);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        CreateProcessW(self, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &child);
    }
    Sleep(INFINITE);
    return 0;
#elif STAND_IN == LIAR
    (void)argc;
    (void)argv;
    std::printf("[  PASSED  ] 1 test.\n8 passed, 0 failed\n");
    return 1;
#else
    (void)argc;
    (void)argv;
    return 0;
#endif
}
