// The calendar instant of the next local occurrence of the picker's time.
#include "control_ids.h"
#include "keep_awake.h"
#include "local_time.h"
#include "platform.h"

int64_t NextLocalOccurrence(int64_t now, int hour, int minute)
{
    std::tm local{};
    if (LocalTime(&local, &now) != 0)
        return 0;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    int64_t result = MakeTime(&local);
    if (result == -1)
        return 0;
    if (result <= now) {
        // Tomorrow on the calendar, not 86,400 s on: a daylight-saving change
        // in between keeps the chosen wall-clock time.
        local.tm_mday += 1;
        local.tm_isdst = -1;
        result = MakeTime(&local);
    }
    return result == -1 ? 0 : result;
}

int64_t ComputeDeactivateTime(HWND window)
{
    SYSTEMTIME picked = {};
    if (PlatformGetPickerTime(window, IDC_AUTO_TIME, &picked) != GDT_VALID)
        return 0;
    // A valid picker never holds more, but a bad hour must not push the
    // switch-off days ahead.
    if (picked.wHour > 23 || picked.wMinute > 59)
        return 0;
    return NextLocalOccurrence(PlatformTime(), picked.wHour, picked.wMinute);
}
