// When the next F15 press is due: the interval box's minutes at a random
// 80 to 120 percent.
#include "control_ids.h"
#include "keep_awake.h"
#include "platform.h"

// The system's cryptographic generator. With libstdc++ on Windows that is
// the token "rand_s", the C runtime's rand_s; its default token would prefer
// the CPU's RDSEED and RDRAND instructions. The token is libstdc++'s own:
// libc++ throws for any but its own, and there, as with MSVC's library and
// everywhere else, the default already is the system's source. A failing
// source throws; nothing catches it, and the program's terminate handler
// ends the process by fast fail before any window exists.
uint32_t SeedFromRandomDevice()
{
#if defined(_WIN32) && defined(__GLIBCXX__)
    std::random_device device("rand_s");
#else
    std::random_device device;
#endif
    return device();
}

uint32_t ClampIntervalMinutes(BOOL translated, uint32_t value)
{
    if (!translated)
        return 5;
    if (value < 1)
        return 1;
    if (value > 60)
        return 60;
    return value;
}

uint64_t KeyWaitMs(uint32_t minutes, uint32_t percentage)
{
    return static_cast<uint64_t>(minutes) * percentage * 60000u / 100u;
}

void ScheduleNextKeyPress(HWND window)
{
    BOOL translated = 0;
    const UINT read = PlatformGetDlgItemInt(window, IDC_INTERVAL, &translated, 0);
    const uint32_t minutes = ClampIntervalMinutes(translated, read);
    const uint32_t percentage = DrawPercentage(keepAwake.rng);
    // Read after the draw and after any press just sent: the wait counts from now.
    const uint64_t now = PlatformGetTickCount64();
    keepAwake.nextKeyTick = now + KeyWaitMs(minutes, percentage);
}
