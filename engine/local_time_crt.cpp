// The Windows C runtime's own 64-bit time functions, in Windows' zone.
#include "local_time.h"

#include <cstdlib>

// The runtime reads a TZ variable before it asks Windows for the zone, and
// understands only the "EST5EDT" form with US change dates: an IANA name,
// as Cygwin's shells and winpty pass on, silently becomes UTC. Local time
// here is always Windows' zone, so TZ goes before the first conversion.
static void LoadWindowsZoneOnce()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    _putenv("TZ=");
    _tzset();
}

int LocalTime(std::tm* out, const int64_t* when)
{
    LoadWindowsZoneOnce();
    const __time64_t value = *when;
    return _localtime64_s(out, &value);
}

int64_t MakeTime(std::tm* local)
{
    LoadWindowsZoneOnce();
    return _mktime64(local);
}

double DiffTime(int64_t later, int64_t earlier)
{
    if (later < 0 || earlier < 0)
        return 0.0;
    return _difftime64(later, earlier);
}
