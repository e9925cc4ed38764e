// The stack protector's guard value and failure handler, in place of libssp's.
//
// libssp seeds its guard through the CryptoAPI and reports a smashed stack
// by opening the console and writing to it: imports this program has no use
// for, with no console to write to. Here the guard comes from the C runtime's
// rand_s, the system's generator, and a smashed stack ends the process at
// once by fast fail, as the system's own stack checks do.
#define _CRT_RAND_S
#include <stdint.h>
#include <stdlib.h>

#include "fast_fail.h"

extern "C" {
// Kept where rand_s fails: not zero, so an overrun with zeros or a string
// terminator still trips it.
uintptr_t __stack_chk_guard = 0x2F8A6C1D5E3B9047u;

__attribute__((noreturn)) void __stack_chk_fail()
{
    FastFail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}
}

// Runs among the first static initializers, before any protected function
// is on the stack, and is itself unprotected: a guard changed under a live
// frame would trip that frame's check on return.
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard()
{
    unsigned int high = 0;
    unsigned int low = 0;
    if (rand_s(&high) == 0 && rand_s(&low) == 0)
        __stack_chk_guard = (static_cast<uintptr_t>(high) << 32) | low;
}
