// The start of every suite that is given files on its command line.
#include "suite_start.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "drive.h"

bool StartSuite(const char* names, std::initializer_list<std::wstring*> paths)
{
    SetProcessDPIAware();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr)
        return false;
    ::testing::InitGoogleTest(&argc, argv);
    const bool counted = argc == static_cast<int>(paths.size()) + 1;
    if (counted) {
        int index = 1;
        for (std::wstring* path : paths)
            *path = WindowsPath(argv[index++]);
    } else {
        std::fprintf(stderr, "usage: %ls [gtest flags] %s\n", argv[0], names);
    }
    LocalFree(argv);
    return counted;
}
