// The keep-awake engine: its one state record and the operations on it.
#pragma once

#include <cstdint>
#include <random>

#include "win32_types.h"

struct KeepAwakeState {
    bool active;          // on, and pressing keys
    bool autoDeactivated; // the last switch-off was the scheduled one
    uint64_t nextKeyTick; // GetTickCount64 ms at or after which F15 is due; 0 = none
    int64_t deactivateAt; // calendar seconds at or after which to switch off; 0 = none
    std::mt19937 rng;     // source of the randomized waits
};

extern KeepAwakeState keepAwake;

void SetActive(HWND window, bool active, bool automatic);
void RunTimerStep(HWND window);
void SendF15KeyPress();

// Randomized key interval.
void ScheduleNextKeyPress(HWND window);
uint32_t SeedFromRandomDevice();
uint32_t ClampIntervalMinutes(BOOL translated, uint32_t value);
uint64_t KeyWaitMs(uint32_t minutes, uint32_t percentage);

// Maps one 32-bit output onto 80..120 by multiply-and-reject: outputs whose
// low product bits fall below 2^32 mod 41 (37) are refused, so every one of
// the 41 values is exactly equally likely.
inline bool PercentageFromOutput(uint32_t output, uint32_t* percentage)
{
    const uint64_t product = static_cast<uint64_t>(output) * 41u;
    if (static_cast<uint32_t>(product) < 37u)
        return false;
    *percentage = 80u + static_cast<uint32_t>(product >> 32);
    return true;
}

// Draws outputs until one is accepted; refused outputs are consumed.
template <typename Engine> uint32_t DrawPercentage(Engine& rng)
{
    uint32_t percentage = 0;
    while (!PercentageFromOutput(static_cast<uint32_t>(rng()), &percentage)) {}
    return percentage;
}

// Auto-deactivate time: 0, or the next local occurrence of the picker's time.
int64_t ComputeDeactivateTime(HWND window);
int64_t NextLocalOccurrence(int64_t now, int hour, int minute);
