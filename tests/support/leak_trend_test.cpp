// The leak suite's judgement on made-up series, sampled as the suite samples
// (every 100 ticks from 1,250 to 5,250): one-off steps pass wherever they
// fall, a steady leak fails however the system commits its pages.
#include <gtest/gtest.h>

#include "leak_trend.h"

namespace {

const size_t kKiB = 1024;

size_t Step(int ticks, int at, size_t bytes) { return ticks >= at ? bytes : 0; }
// The 48 bytes a tick that a 32-byte block a tick costs, committed in units.
size_t Leak(int ticks, size_t unit) { return (size_t(ticks) * 48 + unit - 1) / unit * unit; }

double Judged(size_t (*bytes)(int ticks))
{
    std::vector<MemorySample> samples;
    for (int ticks = 1250; ticks <= 5250; ticks += 100)
        samples.push_back({ticks, 7892992 + bytes(ticks)});
    return SteadyGrowthPerTick(samples);
}

TEST(SteadyGrowthPerTick, StepsPassALeakFails)
{
    struct Row {
        const char* what;
        size_t (*bytes)(int ticks);
        bool leaks;
    } rows[] = {
        {"flat", [](int) { return size_t{0}; }, false},
        // As seen on Wine 10: the old median of slopes read 30.7 bytes a tick.
        {"12 KiB, then 108 KiB mid-window",
         [](int t) { return Step(t, 1800, 12 * kKiB) + Step(t, 3900, 108 * kKiB); }, false},
        {"128 KiB at the start", [](int t) { return Step(t, 1270, 128 * kKiB); }, false},
        {"128 KiB in the middle", [](int t) { return Step(t, 3250, 128 * kKiB); }, false},
        {"128 KiB at the end", [](int t) { return Step(t, 5230, 128 * kKiB); }, false},
        {"three of 128 KiB, one split by a sample",
         [](int t) {
             return Step(t, 1500, 128 * kKiB) + Step(t, 3020, 64 * kKiB) +
                    Step(t, 3120, 64 * kKiB) + Step(t, 5100, 128 * kKiB);
         },
         false},
        {"a new heap segment of 1 MiB", [](int t) { return Step(t, 2950, 1024 * kKiB); }, false},
        {"a page that comes and goes", [](int t) { return t / 100 % 3 == 1 ? 4 * kKiB : 0; },
         false},
        {"a leak, page by page", [](int t) { return Leak(t, 4 * kKiB); }, true},
        {"a leak after two steps",
         [](int t) { return Step(t, 1340, 128 * kKiB) + Leak(t, 4 * kKiB); }, true},
        {"a leak committed 16 KiB at a time", [](int t) { return Leak(t, 16 * kKiB); }, true},
        {"a leak and a page that comes and goes",
         [](int t) { return Leak(t, 4 * kKiB) + (t / 100 % 2 ? 4 * kKiB : 0); }, true},
    };
    for (const Row& row : rows) {
        const double growth = Judged(row.bytes);
        EXPECT_EQ(row.leaks, growth >= kLeakLimitBytesPerTick) << row.what << ": " << growth;
    }
    // In bytes a tick, less the few rises taken out: the figure the suite prints.
    EXPECT_NEAR(48, Judged([](int t) { return Leak(t, 4 * kKiB); }), 10);
    // Too few samples, or none apart, read as no growth rather than a division by zero.
    EXPECT_EQ(0, SteadyGrowthPerTick({{1250, 0}, {1250, 4096}}));
}

} // namespace
