// A terminate handler without the runtime's diagnostic printout or abort().
//
// GCC's default handler demangles the type of an unhandled exception to print
// it, and its demangler adds some 70 KB to a statically linked program. This
// program has no console to print to: it ends at once. A random source that
// fails before wWinMain ends the same way, before any window exists.
#include "fast_fail.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { FastFail(FAST_FAIL_FATAL_APP_EXIT); }
} // namespace __gnu_cxx
