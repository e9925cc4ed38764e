// localtime_s, mktime and difftime on 64-bit calendar time, with the range
// the program relies on: 0 to 32,536,799,999 (3001-01-19 07:59:59 UTC).
#pragma once

#include <cstdint>
#include <ctime>

constexpr int64_t kLastCalendarTime = 32536799999LL;

// 0 on success; an error code, with *out untouched, outside the range.
int LocalTime(std::tm* out, const int64_t* when);
// mktime: normalises *local in place; -1 when the result is out of range.
int64_t MakeTime(std::tm* local);
// later - earlier in seconds; 0 when either is negative.
double DiffTime(int64_t later, int64_t earlier);
