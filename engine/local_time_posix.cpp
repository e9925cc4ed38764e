// A POSIX C library behind the same bounds as the Windows runtime, so the
// engine behaves natively as it does on Windows.
#include "local_time.h"

#include <cerrno>

int LocalTime(std::tm* out, const int64_t* when)
{
    if (*when < 0 || *when > kLastCalendarTime)
        return EINVAL;
    const time_t value = static_cast<time_t>(*when);
    std::tm result{};
    if (localtime_r(&value, &result) == nullptr)
        return EINVAL;
    *out = result;
    return 0;
}

int64_t MakeTime(std::tm* local)
{
    const time_t result = mktime(local);
    if (result < 0 || static_cast<int64_t>(result) > kLastCalendarTime)
        return -1;
    return static_cast<int64_t>(result);
}

double DiffTime(int64_t later, int64_t earlier)
{
    if (later < 0 || earlier < 0)
        return 0.0;
    return difftime(static_cast<time_t>(later), static_cast<time_t>(earlier));
}
