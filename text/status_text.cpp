// Countdown texts: plain decimal counts, the switch-off's local date and time.
#include "status_text.h"

#include <cwchar>

#include "keep_awake.h"
#include "local_time.h"

std::wstring FormatNextKeyText(uint64_t remainingMs)
{
    // A second that has begun counts in full.
    const uint64_t seconds = remainingMs / 1000u + (remainingMs % 1000u != 0 ? 1u : 0u);
    return L"Next F15 in " + std::to_wstring(seconds / 60u) + L"m " +
           std::to_wstring(seconds % 60u) + L"s";
}

std::wstring FormatDeactivateLine(int64_t deactivateAt, int64_t now)
{
    if (deactivateAt == 0)
        return L"Auto-deactivate is off.";
    double difference = DiffTime(deactivateAt, now);
    if (difference < 0)
        difference = 0;
    const uint64_t total = static_cast<uint64_t>(difference);

    wchar_t date[32] = L"scheduled time";
    std::tm local{};
    if (LocalTime(&local, &deactivateAt) == 0) {
        if (std::wcsftime(date, 32, L"%Y-%m-%d %H:%M", &local) == 0)
            date[0] = L'\0';
    }
    return L"Auto-deactivate in " + std::to_wstring(total / 3600u) + L"h " +
           std::to_wstring(total % 3600u / 60u) + L"m " + std::to_wstring(total % 60u) + L"s (" +
           date + L")";
}

std::wstring FormatAutoDeactivateText(int64_t now)
{
    return FormatDeactivateLine(keepAwake.deactivateAt, now);
}
