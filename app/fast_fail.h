// Ends the process at once through the system's fast-fail mechanism.
#pragma once

#include <windows.h> // FAST_FAIL_ codes for the callers

// What __fastfail does, which MinGW's headers do not offer: int 0x29 with
// the code in ecx (Windows 8 and later). The process ends with status
// 0xC0000409; no handler runs and no message box appears, so nothing more is
// dispatched or pressed. msvcrt's abort() would show a modal box in a
// windowed program and go on dispatching timer messages under it.
[[noreturn]] inline void FastFail(unsigned int code)
{
    __asm__ __volatile__("int $0x29" : : "c"(code) : "memory");
    __builtin_unreachable();
}
