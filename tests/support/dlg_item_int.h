// The one reading of an interval-box text in the tests: what
// GetDlgItemInt(window, id, &translated, FALSE) makes of the box's text.
#pragma once

#include <string>

#include "win32_types.h"

// Leading spaces skipped, then decimal digits to the end of the text, at most
// 4294967295. Anything else (nothing, a sign, any trailing character, even a
// blank or a NUL, overflow, digits outside ASCII) is not translated: 0, with
// *translated FALSE. translated may be null, as with GetDlgItemInt.
UINT ReadDlgItemUInt(const std::wstring& text, BOOL* translated);
