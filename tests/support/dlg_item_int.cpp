// GetDlgItemInt's unsigned reading, as Windows documents it.
#include "dlg_item_int.h"

#include <cstdint>

UINT ReadDlgItemUInt(const std::wstring& text, BOOL* translated)
{
    size_t at = text.find_first_not_of(L' ');
    bool ok = at != std::wstring::npos; // blanks alone are no number
    uint64_t value = 0;
    for (; ok && at < text.size(); ++at) {
        const wchar_t c = text[at];
        ok = c >= L'0' && c <= L'9';
        if (ok)
            value = value * 10 + static_cast<uint64_t>(c - L'0');
        ok = ok && value <= 0xFFFFFFFFu; // zero padding is fine, overflow is not
    }
    if (translated != nullptr)
        *translated = ok ? 1 : 0;
    return ok ? static_cast<UINT>(value) : 0;
}
