// The program's own abort(), in place of msvcrt's.
//
// The C++ runtime's terminate code, the unwinder, thread-local storage and
// the start-up relocations all call abort() when they cannot go on. msvcrt's
// shows a modal box in a windowed program, under which the message loop keeps
// dispatching the timer and so pressing keys; this one ends at once.
#include "fast_fail.h"

extern "C" __attribute__((noreturn)) void abort() { FastFail(FAST_FAIL_FATAL_APP_EXIT); }
