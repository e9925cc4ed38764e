// Independent reckonings of the expected waits, switch-off times and texts.
#include "oracle.h"

#include <cstdio>

#include "dlg_item_int.h"

// Worked out here rather than taken from the engine.
const int64_t kLastInstant = DaysFromCivil(3001, 1, 19) * 86400 + int64_t{7 * 3600 + 59 * 60 + 59};
const int64_t kYear1996 = DaysFromCivil(1996, 1, 1) * 86400;

static int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

uint32_t ExpectedIntervalMinutes(const std::wstring& text)
{
    BOOL translated = 0;
    const UINT value = ReadDlgItemUInt(text, &translated);
    if (!translated)
        return 5;
    if (value < 1)
        return 1;
    return value > 60 ? 60 : value;
}

Civil CivilFromSeconds(int64_t seconds)
{
    // After H. Hinnant's public-domain civil_from_days.
    const int64_t days = FloorDiv(seconds, 86400);
    const int64_t rest = seconds - days * 86400;
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    Civil c;
    c.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.year = yearOfEra + era * 400 + (c.month <= 2 ? 1 : 0);
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest % 3600 / 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

// Day number of the last Sunday of a month; day 0 (1970-01-01) was a Thursday.
static int64_t LastSunday(int64_t year, int month)
{
    const int64_t last =
        month == 12 ? DaysFromCivil(year + 1, 1, 1) - 1 : DaysFromCivil(year, month + 1, 1) - 1;
    const int64_t weekday = ((last + 4) % 7 + 7) % 7; // 0 = Sunday
    return last - weekday;
}

int64_t SpringForwardUtc(int64_t year) { return LastSunday(year, 3) * 86400 + 3600; }
int64_t FallBackUtc(int64_t year) { return LastSunday(year, 10) * 86400 + 3600; }

int64_t UtcOffset(int64_t) { return 0; }

int64_t BerlinOffset(int64_t utc)
{
    // The changes fall in March and October, far from the turn of the UTC
    // year. The last year's instants are kept: the soak asks millions of times.
    static int64_t yearStart = 1, yearEnd = 0, spring = 0, autumn = 0;
    if (utc < yearStart || utc >= yearEnd) {
        const int64_t year = CivilFromSeconds(utc).year;
        yearStart = DaysFromCivil(year, 1, 1) * 86400;
        yearEnd = DaysFromCivil(year + 1, 1, 1) * 86400;
        spring = SpringForwardUtc(year);
        autumn = FallBackUtc(year);
    }
    return (utc >= spring && utc < autumn) ? 7200 : 3600;
}

Occurrence ExpectedOccurrence(ZoneOffset zone, int64_t now, int hour, int minute)
{
    Occurrence result = {zone != BerlinOffset || now >= kYear1996, 0};
    if (now < 0 || now > kLastInstant)
        return result;
    const int64_t today = FloorDiv(now + zone(now), 86400);
    int64_t best = 0;
    for (int64_t day = today; day <= today + 1; ++day) {
        const int64_t wall = day * 86400 + int64_t{hour} * 3600 + int64_t{minute} * 60;
        // A zone's offsets a day either side cover any change near this reading.
        const int64_t offsets[2] = {zone(wall - 86400), zone(wall + 86400)};
        int readings = 0;
        for (int k = 0; k < 2; ++k) {
            if (k == 1 && offsets[1] == offsets[0])
                break;
            const int64_t t = wall - offsets[k];
            if (zone(t) != offsets[k])
                continue;
            ++readings;
            if (t > now && (best == 0 || t < best))
                best = t;
        }
        if (readings != 1)
            result.exact = false;
    }
    result.value = best > kLastInstant ? 0 : best;
    return result;
}

std::string CheckOccurrenceShape(ZoneOffset zone, int64_t now, int minute, int64_t value)
{
    char text[160];
    if (value <= now) {
        std::snprintf(text, sizeof text, "switch-off %lld not later than now %lld",
                      static_cast<long long>(value), static_cast<long long>(now));
        return text;
    }
    if (value - now > 25 * int64_t{3600}) {
        std::snprintf(text, sizeof text, "switch-off %lld s ahead, more than 25 h",
                      static_cast<long long>(value - now));
        return text;
    }
    const Civil local = CivilFromSeconds(value + zone(value));
    if (local.second != 0 || local.minute != minute) {
        std::snprintf(text, sizeof text, "switch-off reads %d:%02d:%02d locally, minute %d picked",
                      local.hour, local.minute, local.second, minute);
        return text;
    }
    return "";
}

// A decimal count without leading zeros at line[*pos]; 0 is the one digit 0.
static bool ReadCount(const std::wstring& line, size_t* pos, uint64_t* value)
{
    size_t i = *pos;
    uint64_t number = 0;
    while (i < line.size() && line[i] >= L'0' && line[i] <= L'9') {
        const uint64_t digit = static_cast<uint64_t>(line[i] - L'0');
        if (number > (UINT64_MAX - digit) / 10)
            return false;
        number = number * 10 + digit;
        ++i;
    }
    if (i == *pos || (line[*pos] == L'0' && i - *pos > 1))
        return false;
    *pos = i;
    *value = number;
    return true;
}

static bool ReadLiteral(const std::wstring& line, size_t* pos, const wchar_t* literal)
{
    const std::wstring piece(literal);
    if (line.compare(*pos, piece.size(), piece) != 0)
        return false;
    *pos += piece.size();
    return true;
}

bool MatchNextKeyLine(const std::wstring& line, uint64_t* minutes, uint64_t* seconds)
{
    size_t pos = 0;
    return ReadLiteral(line, &pos, L"Next F15 in ") && ReadCount(line, &pos, minutes) &&
           ReadLiteral(line, &pos, L"m ") && ReadCount(line, &pos, seconds) && *seconds < 60 &&
           ReadLiteral(line, &pos, L"s") && pos == line.size();
}

// Two fixed digits at text[at], as a number.
static int TwoDigits(const std::wstring& text, size_t at)
{
    if (text[at] < L'0' || text[at] > L'9' || text[at + 1] < L'0' || text[at + 1] > L'9')
        return -1;
    return (text[at] - L'0') * 10 + (text[at + 1] - L'0');
}

static bool IsDateText(const std::wstring& date)
{
    if (date.empty() || date == L"scheduled time")
        return true;
    if (date.size() != 16 || date[4] != L'-' || date[7] != L'-' || date[10] != L' ' ||
        date[13] != L':')
        return false;
    const int century = TwoDigits(date, 0), yy = TwoDigits(date, 2);
    const int month = TwoDigits(date, 5), day = TwoDigits(date, 8);
    const int hour = TwoDigits(date, 11), minute = TwoDigits(date, 14);
    if (century < 0 || yy < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59)
        return false;
    const int64_t year = century * 100 + yy;
    const int64_t monthDays =
        (month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1)) -
        DaysFromCivil(year, month, 1);
    return day <= monthDays;
}

bool MatchDeactivateLine(const std::wstring& line, DeactivateLine* parsed)
{
    *parsed = DeactivateLine{};
    if (line == L"Auto-deactivate is off.") {
        parsed->off = true;
        return true;
    }
    size_t pos = 0;
    if (!(ReadLiteral(line, &pos, L"Auto-deactivate in ") &&
          ReadCount(line, &pos, &parsed->hours) && ReadLiteral(line, &pos, L"h ") &&
          ReadCount(line, &pos, &parsed->minutes) && parsed->minutes < 60 &&
          ReadLiteral(line, &pos, L"m ") && ReadCount(line, &pos, &parsed->seconds) &&
          parsed->seconds < 60 && ReadLiteral(line, &pos, L"s (")))
        return false;
    if (line.empty() || line.back() != L')' || line.size() < pos + 1)
        return false;
    parsed->date = line.substr(pos, line.size() - 1 - pos);
    return parsed->date.find(L')') == std::wstring::npos && IsDateText(parsed->date);
}

uint64_t ExpectedNextKeySeconds(uint64_t remainingMs)
{
    // In 128 bits, so that adding 999 cannot wrap at the top of the range.
    return static_cast<uint64_t>((static_cast<unsigned __int128>(remainingMs) + 999) / 1000);
}

uint64_t ExpectedDeactivateSeconds(int64_t deactivateAt, int64_t now)
{
    if (deactivateAt < 0 || now < 0 || deactivateAt <= now)
        return 0;
    return static_cast<uint64_t>(static_cast<double>(deactivateAt - now));
}

std::wstring ExpectedDateText(ZoneOffset zone, int64_t deactivateAt)
{
    if (deactivateAt < 0 || deactivateAt > kLastInstant)
        return L"scheduled time";
    const Civil c = CivilFromSeconds(deactivateAt + zone(deactivateAt));
    const int64_t fields[5] = {c.year, c.month, c.day, c.hour, c.minute};
    const int widths[5] = {4, 2, 2, 2, 2};
    const wchar_t separators[5] = {L'-', L'-', L' ', L':', L'\0'};
    std::wstring text;
    for (int k = 0; k < 5; ++k) {
        for (int64_t unit = widths[k] == 4 ? 1000 : 10; unit >= 1; unit /= 10)
            text += static_cast<wchar_t>(L'0' + fields[k] / unit % 10);
        if (separators[k] != L'\0')
            text += separators[k];
    }
    return text;
}

static std::string Narrow(const std::wstring& line)
{
    std::string out;
    for (wchar_t c : line)
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return out;
}

std::string CheckNextKeyLine(const std::wstring& line, uint64_t remainingMs)
{
    uint64_t minutes = 0, seconds = 0;
    if (!MatchNextKeyLine(line, &minutes, &seconds))
        return "next-key line out of shape: \"" + Narrow(line) + "\"";
    const uint64_t total = ExpectedNextKeySeconds(remainingMs);
    if (minutes != total / 60 || seconds != total % 60)
        return "next-key line \"" + Narrow(line) + "\" for " + std::to_string(remainingMs) +
               " ms, expected " + std::to_string(total / 60) + "m " + std::to_string(total % 60) +
               "s";
    return "";
}

std::string CheckDeactivateLine(const std::wstring& line, ZoneOffset zone, int64_t deactivateAt,
                                int64_t now)
{
    // Built only on failure: the soak checks millions of lines.
    const auto shown = [&] {
        return "switch-off line \"" + Narrow(line) + "\" for " + std::to_string(deactivateAt) +
               " at " + std::to_string(now);
    };
    DeactivateLine parsed;
    if (!MatchDeactivateLine(line, &parsed))
        return shown() + ": out of shape";
    if (parsed.off != (deactivateAt == 0))
        return shown() + ": off exactly when nothing is armed";
    if (parsed.off)
        return "";
    const uint64_t total = ExpectedDeactivateSeconds(deactivateAt, now);
    if (parsed.hours != total / 3600 || parsed.minutes != total % 3600 / 60 ||
        parsed.seconds != total % 60)
        return shown() + ": expected " + std::to_string(total) + " s";
    const std::wstring date = ExpectedDateText(zone, deactivateAt);
    if (parsed.date == date)
        return "";
    // Berlin's rules before 1996 are not BerlinOffset's: either offset will do.
    if (zone == BerlinOffset && deactivateAt > 0 && deactivateAt < kYear1996 + 86400 &&
        (parsed.date == ExpectedDateText(UtcOffset, deactivateAt + 3600) ||
         parsed.date == ExpectedDateText(UtcOffset, deactivateAt + 7200)))
        return "";
    return shown() + ": expected the date \"" + Narrow(date) + "\"";
}
