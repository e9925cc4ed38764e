// Calendar and time-zone helpers for tests that must not lean on the code
// they test.
#pragma once

#include <cstdint>
#include <string>

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int month, int day);

// Seconds since 1970 of a UTC civil date and time (proleptic Gregorian).
int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second);

// Local time is the named zone's from now on, and true. Natively the C
// library takes any IANA name or POSIX rule through TZ. On Windows local
// time is Windows' own zone, which a process cannot choose: nothing changes,
// and the answer says whether Windows' zone keeps the named zone's rules
// ("UTC", "Europe/Berlin", "America/New_York", "Asia/Kolkata", "Asia/Tokyo").
bool UseTimeZone(const char* zone);

struct CivilTime {
    int year, month, day, hour, minute, second;
};

// Local time as the platform reckons it apart from the C runtime: on
// Windows through its own time-zone functions, natively through the C
// library's. The instant at which local time reads the civil time given;
// the local civil time of an instant; and that as "YYYY-MM-DD HH:MM".
int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second);
CivilTime LocalCivilTime(int64_t when);
std::wstring LocalMinuteText(int64_t when);
