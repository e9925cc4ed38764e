// Calendar helpers for tests that must not lean on the code they test.
#pragma once

#include <cstdint>

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int month, int day);

// Seconds since 1970 of a UTC civil date and time (proleptic Gregorian).
int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second);

// Switches the C library's local time zone. Native builds accept IANA names;
// the Windows runtime only the POSIX form ("CET-1CEST,M3.5.0,M10.5.0/3").
void UseTimeZone(const char* zone);
