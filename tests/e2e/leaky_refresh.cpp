// Quillet as released but for one 32-byte block leaked on every refresh of
// the window, the smallest leak the leak suite must catch. The linker
// routes the program's calls of RefreshControls here (--wrap), so the
// program's own sources carry nothing of it.
#include <windows.h>

extern "C" void __real__Z15RefreshControlsP6HWND__(HWND window);

// Volatile, so that the block is allocated although nothing reads it.
static char* volatile leakedBlock;

extern "C" void __wrap__Z15RefreshControlsP6HWND__(HWND window)
{
    leakedBlock = new char[32];
    __real__Z15RefreshControlsP6HWND__(window);
}
