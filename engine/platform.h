// The engine's only contact with the window system. Production links
// platform_win32.cpp; the native tests link a fake that records every call.
#pragma once

#include <cstdint>

#include "win32_types.h"

uint64_t PlatformGetTickCount64();
int64_t PlatformTime(); // time(nullptr): seconds since 1970, -1 when unknown
UINT PlatformIsDlgButtonChecked(HWND window, int id);
UINT PlatformGetDlgItemInt(HWND window, int id, BOOL* translated, BOOL isSigned);
// GetDlgItem(window, id) then DTM_GETSYSTEMTIME with (0, value).
LRESULT PlatformGetPickerTime(HWND window, int id, SYSTEMTIME* value);
UINT PlatformSendInput(UINT count, INPUT* inputs, int size);

// Brings the controls up to date with the engine; lives with the window.
void RefreshControls(HWND window);
