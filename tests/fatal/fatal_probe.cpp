// A program that carries Quillet's own terminate, abort and stack-check
// handlers and dies on purpose, the way its command line asks, so that a test
// can watch how it ends: "stack" overruns a local buffer, "exception" lets an
// exception leave wWinMain, "startup" throws during static initialisation as
// a failing random source would, "abort" calls std::terminate with a handler
// that returns, so that the C++ runtime calls abort() itself, with no
// exception under way.
// It never creates a window.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <exception>
#include <stdexcept>

static bool Asked(const wchar_t* mode) { return std::wcsstr(GetCommandLineW(), mode) != nullptr; }

// Before wWinMain, like the seeding of the random generator.
static int ThrowIfAskedAtStartup()
{
    if (Asked(L" startup"))
        throw std::out_of_range("invalid random_device value");
    return 0;
}
[[maybe_unused]] static const int kStartup = ThrowIfAskedAtStartup();

// The count comes from outside, so the compiler cannot see the overrun.
static volatile size_t overrunBytes = 64;

__attribute__((noinline)) static void OverrunLocalBuffer()
{
    char buffer[8];
    std::memset(buffer, 'x', overrunBytes);
    __asm__ __volatile__("" : : "r"(buffer) : "memory"); // keep the buffer
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (Asked(L" stack"))
        OverrunLocalBuffer();
    // A terminate handler that returns: the runtime's terminate then calls
    // abort() (libstdc++ at once, libc++ after its message).
    if (Asked(L" abort")) {
        std::set_terminate([] {});
        std::terminate();
    }
    if (Asked(L" exception"))
        throw std::runtime_error("nobody catches this");
    return 0;
}
