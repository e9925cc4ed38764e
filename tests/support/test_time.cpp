#include "test_time.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>

#ifdef _WIN32
#include <windows.h>
#endif

int64_t DaysFromCivil(int64_t year, int month, int day)
{
    // After H. Hinnant's public-domain days_from_civil.
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return DaysFromCivil(year, month, day) * 86400 + int64_t{hour} * 3600 + int64_t{minute} * 60 +
           second;
}

std::wstring LocalMinuteText(int64_t when)
{
    const CivilTime local = LocalCivilTime(when);
    wchar_t text[40];
    std::swprintf(text, 40, L"%04d-%02d-%02d %02d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute);
    return text;
}

#ifdef _WIN32

// Seconds between 1601 and 1970, in FILETIME's 100 ns units.
static const int64_t kUnixEpochAsFileTime = 116444736000000000LL;

// The rules Windows keeps for each zone the tests name: bias in minutes west
// of UTC and, for zones with daylight saving, the change dates as Windows
// gives them (month, week of the month with 5 for the last, hour on Sunday).
struct ZoneRules {
    const char* name;
    LONG bias;
    WORD toStandardMonth, toStandardWeek, toStandardHour;
    WORD toDaylightMonth, toDaylightWeek, toDaylightHour;
};
static const ZoneRules kZoneRules[] = {
    {"UTC", 0, 0, 0, 0, 0, 0, 0},
    {"Europe/Berlin", -60, 10, 5, 3, 3, 5, 2},
    {"America/New_York", 300, 11, 1, 2, 3, 2, 2},
    {"Asia/Kolkata", -330, 0, 0, 0, 0, 0, 0},
    {"Asia/Tokyo", -540, 0, 0, 0, 0, 0, 0},
};

static bool SameChange(const SYSTEMTIME& date, WORD month, WORD week, WORD hour)
{
    return date.wMonth == month && (month == 0 || (date.wDay == week && date.wHour == hour &&
                                                   date.wDayOfWeek == 0 && date.wMinute == 0));
}

bool UseTimeZone(const char* zone)
{
    TIME_ZONE_INFORMATION windows = {};
    GetTimeZoneInformation(&windows);
    for (const ZoneRules& rules : kZoneRules) {
        if (std::strcmp(rules.name, zone) != 0)
            continue;
        const bool keepsSummerTime = rules.toDaylightMonth != 0;
        return windows.Bias == rules.bias && windows.StandardBias == 0 &&
               (!keepsSummerTime || windows.DaylightBias == -60) &&
               SameChange(windows.StandardDate, rules.toStandardMonth, rules.toStandardWeek,
                          rules.toStandardHour) &&
               SameChange(windows.DaylightDate, rules.toDaylightMonth, rules.toDaylightWeek,
                          rules.toDaylightHour);
    }
    return false;
}

int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    SYSTEMTIME utc = {};
    FILETIME file = {};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &file))
        return -1;
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(file.dwHighDateTime) << 32) |
                                               file.dwLowDateTime);
    return (ticks - kUnixEpochAsFileTime) / 10000000;
}

CivilTime LocalCivilTime(int64_t when)
{
    const uint64_t ticks = static_cast<uint64_t>(when * 10000000 + kUnixEpochAsFileTime);
    FILETIME file = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc = {};
    SYSTEMTIME local = {};
    if (!FileTimeToSystemTime(&file, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return CivilTime{0, 0, 0, 0, 0, 0};
    return CivilTime{local.wYear, local.wMonth,  local.wDay,
                     local.wHour, local.wMinute, local.wSecond};
}

#else

bool UseTimeZone(const char* zone)
{
    setenv("TZ", zone, 1);
    tzset();
    return true;
}

int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

CivilTime LocalCivilTime(int64_t when)
{
    const time_t value = static_cast<time_t>(when);
    std::tm local{};
    if (localtime_r(&value, &local) == nullptr)
        return CivilTime{0, 0, 0, 0, 0, 0};
    return CivilTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

#endif
