// Countdown texts: plain decimal counts, the switch-off's local date and time.
#include "status_text.h"

#include <cwchar>

#include "keep_awake.h"
#include "local_time.h"

// Plain decimal, no leading zeros; written by hand because the library's
// conversion drags a formatted-output runtime into a statically linked program.
static void AppendDecimal(std::wstring& text, uint64_t number)
{
    wchar_t digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + number % 10u);
        number /= 10u;
    } while (number != 0);
    while (count > 0)
        text += digits[--count];
}

std::wstring FormatNextKeyText(uint64_t remainingMs)
{
    // A second that has begun counts in full (written so that it cannot wrap).
    const uint64_t seconds = remainingMs / 1000u + (remainingMs % 1000u != 0 ? 1u : 0u);
    std::wstring line = L"Next F15 in ";
    AppendDecimal(line, seconds / 60u);
    line += L"m ";
    AppendDecimal(line, seconds % 60u);
    line += L"s";
    return line;
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
    std::wstring line = L"Auto-deactivate in ";
    AppendDecimal(line, total / 3600u);
    line += L"h ";
    AppendDecimal(line, total % 3600u / 60u);
    line += L"m ";
    AppendDecimal(line, total % 60u);
    line += L"s (";
    line += date;
    line += L")";
    return line;
}

std::wstring FormatAutoDeactivateText(int64_t now)
{
    return FormatDeactivateLine(keepAwake.deactivateAt, now);
}
