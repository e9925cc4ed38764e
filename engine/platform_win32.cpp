// The platform seam over the real Win32 calls.
#include "platform.h"

#include <ctime>

uint64_t PlatformGetTickCount64() { return GetTickCount64(); }

int64_t PlatformTime() { return static_cast<int64_t>(time(nullptr)); }

UINT PlatformIsDlgButtonChecked(HWND window, int id) { return IsDlgButtonChecked(window, id); }

UINT PlatformGetDlgItemInt(HWND window, int id, BOOL* translated, BOOL isSigned)
{
    return GetDlgItemInt(window, id, translated, isSigned);
}

LRESULT PlatformGetPickerTime(HWND window, int id, SYSTEMTIME* value)
{
    return SendMessageW(GetDlgItem(window, id), DTM_GETSYSTEMTIME, 0,
                        reinterpret_cast<LPARAM>(value));
}

UINT PlatformSendInput(UINT count, INPUT* inputs, int size)
{
    return SendInput(count, inputs, size);
}
