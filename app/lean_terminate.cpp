// A terminate handler without the runtime's diagnostic printout.
//
// GCC's default handler demangles the type of an unhandled exception to print
// it, and its demangler adds some 70 KB to a statically linked program. This
// program has no console to print to; ending at once, as the default handler
// does after printing, loses nothing.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx
