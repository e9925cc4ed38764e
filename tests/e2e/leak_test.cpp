// Thousands of timer ticks driven into the live Quillet window leave its
// window, GDI and USER object counts and its private memory where they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control_ids.h"
#include "drive.h"
#include "leak_trend.h"
#include "suite_start.h"

namespace {

std::wstring programPath;

// The heap's warm-up is driven by paints (Wine 10: some 110 KiB in one-off
// steps over the first 1,000 to 1,250 paints, flat after), so the first
// 1,250 ticks, each painted, are not judged; steps that still come later
// are told from a leak by how few they are.
const int kWarmUpTicks = 1250;
const int kJudgedTicks = 4000;
const int kSampleEvery = 100;

class QuilletFootprint : public ::testing::Test {
  protected:
    void TearDown() override { ReleaseStarted(&program); }

    Started program = {};
};

struct Sample {
    int ticks;
    Footprint footprint;
};

void PrintFootprint(const Sample& sample)
{
    const Footprint& f = sample.footprint;
    std::printf("after %5d ticks: gdi %lu, user %lu%s, windows %zu, private %zu bytes\n",
                sample.ticks, f.gdiObjects, f.userObjects,
                f.guiCountsKnown ? "" : " (not reported here)", f.windows, f.privateBytes);
}

TEST_F(QuilletFootprint, TimerTicksWhileActiveLeakNothing)
{
    ASSERT_TRUE(StartProgram(programPath, L"", &program));
    const HWND main = WaitForMainWindow(program.processId, 20000);
    ASSERT_NE(nullptr, main);

    // A long interval keeps real presses out of the run; the ticks still
    // run the timer step and the full refresh of the active window.
    SetControlText(main, IDC_INTERVAL, L"60");
    ClickButton(main, IDC_ACTIVATE);
    ASSERT_EQ(L"ACTIVE", ReadControlText(main, IDC_STATE_LABEL));

    // Painting makes the labels ask for their colours. A paint costs some
    // five ticks, so after the warm-up only every sixteenth tick gets one.
    int sent = 0;
    auto sendTicks = [&](int until, int paintEvery) {
        for (; sent < until; ++sent) {
            SendTick(main);
            if (sent % paintEvery == 0)
                RepaintNow(main);
        }
    };
    sendTicks(10, 1);
    Sample first = {sent, {}};
    ASSERT_TRUE(ReadFootprint(program.process, program.processId, &first.footprint));
    PrintFootprint(first);
    sendTicks(kWarmUpTicks, 1);

    std::vector<Sample> judged;
    for (int until = kWarmUpTicks; until <= kWarmUpTicks + kJudgedTicks; until += kSampleEvery) {
        sendTicks(until, 16);
        judged.push_back({sent, {}});
        ASSERT_TRUE(ReadFootprint(program.process, program.processId, &judged.back().footprint));
        if ((sent - kWarmUpTicks) % 1000 == 0)
            PrintFootprint(judged.back());
    }
    // The ticks were handled as ticks: the countdown is live.
    EXPECT_EQ(0u, ReadControlText(main, IDC_NEXT_KEY_LABEL).rfind(L"Next F15 in ", 0));

    for (const Sample& sample : judged) {
        SCOPED_TRACE("after " + std::to_string(sample.ticks) + " ticks against after " +
                     std::to_string(first.ticks));
        EXPECT_EQ(first.footprint.windows, sample.footprint.windows);
        // Wine's GetGuiResources is a stub: its counts stay 0 and prove nothing.
        if (first.footprint.guiCountsKnown) {
            EXPECT_EQ(first.footprint.gdiObjects, sample.footprint.gdiObjects);
            EXPECT_EQ(first.footprint.userObjects, sample.footprint.userObjects);
        }
    }
    if (first.footprint.guiCountsKnown) {
        EXPECT_LT(0u, first.footprint.gdiObjects);
    }
    EXPECT_LT(0u, first.footprint.privateBytes) << "no memory figure for the process";
    EXPECT_LE(15u, first.footprint.windows) << "the main window and its 14 controls at least";

    std::vector<MemorySample> memory;
    for (const Sample& sample : judged)
        memory.push_back({sample.ticks, sample.footprint.privateBytes});
    const double growth = SteadyGrowthPerTick(memory);
    std::printf("private bytes grow by %.1f bytes a tick over ticks %d to %d\n", growth,
                judged.front().ticks, judged.back().ticks);
    EXPECT_LT(growth, kLeakLimitBytesPerTick)
        << "private bytes grow by " << growth << " bytes a tick (beyond the " << kOneOffSteps
        << " largest steps between " << judged.size() << " samples over ticks "
        << judged.front().ticks << " to " << judged.back().ticks << ", "
        << judged.front().footprint.privateBytes << " to " << judged.back().footprint.privateBytes
        << " bytes); the limit is " << kLeakLimitBytesPerTick << " bytes a tick";

    ClickButton(main, IDC_DEACTIVATE);
    DWORD exitCode = 99;
    EXPECT_TRUE(CloseAndWait(main, program.process, 5000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

} // namespace

int main()
{
    if (!StartSuite("QUILLET.EXE", {&programPath}))
        return 2;
    return RUN_ALL_TESTS();
}
