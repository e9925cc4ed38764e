// The few Win32 types and constants the engine names. On Windows they come
// from the SDK; elsewhere a layout-compatible subset lets the engine and its
// tests build natively.
#pragma once

#ifdef _WIN32
#include <windows.h>

// After windows.h, which it needs; a separate block keeps the sorter away.
#include <commctrl.h>
#else
#include <cstdint>

typedef struct HWND__* HWND;
typedef int BOOL;
typedef unsigned int UINT;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uintptr_t ULONG_PTR;
typedef intptr_t LRESULT;

// Same field order and sizes as the SDK's, so sizeof(INPUT) is 40 here too.
typedef struct {
    LONG dx;
    LONG dy;
    DWORD mouseData;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
} MOUSEINPUT;

typedef struct {
    WORD wVk;
    WORD wScan;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
} KEYBDINPUT;

typedef struct {
    DWORD uMsg;
    WORD wParamL;
    WORD wParamH;
} HARDWAREINPUT;

typedef struct {
    DWORD type;
    union {
        MOUSEINPUT mi;
        KEYBDINPUT ki;
        HARDWAREINPUT hi;
    };
} INPUT;

typedef struct {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;

#define INPUT_KEYBOARD 1
#define KEYEVENTF_KEYUP 0x0002
#define VK_F15 0x7E
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BST_INDETERMINATE 2
#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1
#define DTM_GETSYSTEMTIME 0x1001
#endif
