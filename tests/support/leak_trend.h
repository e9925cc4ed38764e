// Whether private memory sampled along a run of ticks grows as a leak grows
// it. A leak adds a little in nearly every stretch between samples; the
// heap's warm-up, a new heap segment or a font cache adds a few one-off
// steps, of up to some hundred KiB, wherever they fall. So the few largest
// rises are taken out, and what is left of the growth is the trend.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

struct MemorySample {
    int ticks;
    size_t privateBytes;
};

// Three warm-up steps, and one of them split by a sample.
const size_t kOneOffSteps = 4;
// One 32-byte block leaked a tick, the smallest leak worth catching, grows
// private memory by 48 to 53 bytes a tick (the heap's header and rounding);
// half of that is the limit.
const double kLeakLimitBytesPerTick = 24;

// Bytes a tick, first sample to last, without the kOneOffSteps largest rises
// between neighbouring samples. Zero or less for a series that only steps.
inline double SteadyGrowthPerTick(const std::vector<MemorySample>& samples)
{
    if (samples.size() < 2 || samples.back().ticks <= samples.front().ticks)
        return 0;
    std::vector<double> rises;
    for (size_t i = 1; i < samples.size(); ++i)
        rises.push_back(static_cast<double>(samples[i].privateBytes) -
                        static_cast<double>(samples[i - 1].privateBytes));
    std::sort(rises.begin(), rises.end(), std::greater<double>());
    double growth = 0;
    for (size_t i = 0; i < rises.size(); ++i)
        if (i >= kOneOffSteps || rises[i] < 0)
            growth += rises[i];
    return growth / (samples.back().ticks - samples.front().ticks);
}
