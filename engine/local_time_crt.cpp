// The Windows C runtime's own 64-bit time functions.
#include "local_time.h"

int LocalTime(std::tm* out, const int64_t* when)
{
    const __time64_t value = *when;
    return _localtime64_s(out, &value);
}

int64_t MakeTime(std::tm* local) { return _mktime64(local); }

double DiffTime(int64_t later, int64_t earlier)
{
    if (later < 0 || earlier < 0)
        return 0.0;
    return _difftime64(later, earlier);
}
