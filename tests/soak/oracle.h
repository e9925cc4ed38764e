// Independent reckonings of what the engine and the texts must produce, for
// the soak, the random-input tests and the fuzz target. None of it calls the
// C library's time functions or the code under test.
#pragma once

#include <cstdint>
#include <string>

#include "test_time.h"

// 3001-01-19 07:59:59 UTC, the last instant the program dates; 1996-01-01
// 00:00 UTC, from which on BerlinOffset has Berlin's rules.
extern const int64_t kLastInstant;
extern const int64_t kYear1996;

// The interval minutes a box text must give: its GetDlgItemInt reading limited
// to 1..60, and 5 when it does not translate.
uint32_t ExpectedIntervalMinutes(const std::wstring& text);

// UTC offset in seconds that a zone has in force at a calendar time.
typedef int64_t (*ZoneOffset)(int64_t utc);
int64_t UtcOffset(int64_t utc);
// Central European rules as they stand since 1996: +2 h from 01:00 UTC on the
// last Sunday of March to 01:00 UTC on the last Sunday of October, else +1 h.
int64_t BerlinOffset(int64_t utc);

// Proleptic Gregorian civil date and time of seconds since 1970 (any sign).
struct Civil {
    int64_t year;
    int month, day, hour, minute, second;
};
Civil CivilFromSeconds(int64_t seconds);
// The two change instants of a year under BerlinOffset.
int64_t SpringForwardUtc(int64_t year);
int64_t FallBackUtc(int64_t year);

// The next instant after now at which the zone's clocks read hour:minute,
// looking at today and tomorrow in local time; 0 when that lies past
// 3001-01-19 07:59:59 UTC or now is outside 0..that instant. exact is false
// when today or tomorrow has no such reading or two of them (a change of the
// clocks across that hour), or in Berlin before 1996; then only the shape of
// the result is known.
struct Occurrence {
    bool exact;
    int64_t value;
};
Occurrence ExpectedOccurrence(ZoneOffset zone, int64_t now, int hour, int minute);

// "" when value is a plausible switch-off time for hour:minute picked at now:
// later than now, at most 25 h ahead, on second 0 of that local minute.
std::string CheckOccurrenceShape(ZoneOffset zone, int64_t now, int minute, int64_t value);

// Grammar of the next-key line; on success the two counts it shows.
bool MatchNextKeyLine(const std::wstring& line, uint64_t* minutes, uint64_t* seconds);

// Grammar of the switch-off line. off is set for "Auto-deactivate is off.";
// otherwise the counts and the date text between the parentheses, which is
// empty, "scheduled time" or a valid YYYY-MM-DD HH:MM.
struct DeactivateLine {
    bool off;
    uint64_t hours, minutes, seconds;
    std::wstring date;
};
bool MatchDeactivateLine(const std::wstring& line, DeactivateLine* parsed);

// Whole seconds the next-key line must show: a begun second counts in full.
uint64_t ExpectedNextKeySeconds(uint64_t remainingMs);
// Whole seconds the switch-off line must show: the difference as a double,
// 0 when either time is negative or the switch-off has passed.
uint64_t ExpectedDeactivateSeconds(int64_t deactivateAt, int64_t now);
// The date text for a switch-off time in a zone: "YYYY-MM-DD HH:MM", or
// "scheduled time" outside 0..3001-01-19 07:59:59 UTC.
std::wstring ExpectedDateText(ZoneOffset zone, int64_t deactivateAt);

// "" when both lines are exactly what they must be for these inputs; in Berlin
// before 1996 the date may be read at either of its two offsets.
std::string CheckNextKeyLine(const std::wstring& line, uint64_t remainingMs);
std::string CheckDeactivateLine(const std::wstring& line, ZoneOffset zone, int64_t deactivateAt,
                                int64_t now);
