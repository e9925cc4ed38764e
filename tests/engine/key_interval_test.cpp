// The randomized wait: the random engine, the percentage draw and the
// interval box's reading.
#include <gtest/gtest.h>

#include <set>

#include "box_text_readings.h"
#include "dlg_item_int.h"
#include "fake_platform.h"

TEST(RandomEngine, IsTheStandardMersenneTwister)
{
    decltype(keepAwake.rng) engine(5489);
    engine.discard(9999);
    EXPECT_EQ(4123659995u, engine());
}

TEST(ScheduleNextKeyPress, FirstPercentagesFromSeed5489)
{
    ResetEngineAndFake(5489);
    fake.intervalText = L"1"; // one minute: the wait is percentage x 600 ms
    const uint32_t expected[] = {113, 85, 117, 114, 85, 119};
    for (uint32_t percentage : expected) {
        ScheduleNextKeyPress(kFakeWindow);
        EXPECT_EQ(percentage * 600u, keepAwake.nextKeyTick - fake.tickCount);
    }
}

// Yields a fixed list of outputs and counts how many were taken.
struct ScriptedOutputs {
    std::vector<uint32_t> outputs;
    size_t taken;
    uint32_t operator()() { return outputs.at(taken++); }
};

TEST(DrawPercentage, RefusedOutputIsConsumedAndTheNextOneUsed)
{
    uint32_t percentage = 0;
    EXPECT_FALSE(PercentageFromOutput(104755300u, &percentage)); // 104755300 x 41 has low bits 4
    ScriptedOutputs script{{104755300u, 104755299u}, 0};
    EXPECT_EQ(80u, DrawPercentage(script));
    EXPECT_EQ(2u, script.taken);
}

TEST(DrawPercentage, BoundsOfTheMapping)
{
    struct Row {
        uint32_t output;
        bool accepted;
        uint32_t percentage;
    } rows[] = {
        {0u, false, 0},           // product 0: low bits below 37
        {104755300u, false, 0},   // product 2^32 + 4
        {209510600u, false, 0},   // product 2 x 2^32 + 8
        {104755299u, true, 80},   // just below 2^32: the top of 80's share
        {104755301u, true, 81},   // product 2^32 + 45
        {0xFFFFFFFFu, true, 120}, // the largest output lands on 120
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        uint32_t percentage = 0;
        EXPECT_EQ(row.accepted, PercentageFromOutput(row.output, &percentage));
        if (row.accepted) {
            EXPECT_EQ(row.percentage, percentage);
        }
    }
}

TEST(DrawPercentage, LargeSampleCoversExactly80To120)
{
    std::mt19937 engine(12345);
    std::set<uint32_t> seen;
    for (int i = 0; i < 200000; ++i)
        seen.insert(DrawPercentage(engine));
    EXPECT_EQ(41u, seen.size());
    EXPECT_EQ(80u, *seen.begin());
    EXPECT_EQ(120u, *seen.rbegin());
}

TEST(KeyWaitMs, MinutesTimesPercentageTimes600)
{
    struct Row {
        uint32_t minutes, percentage;
        uint64_t waitMs;
    } rows[] = {
        {5, 97, 291000}, {5, 80, 240000}, {5, 120, 360000}, {1, 80, 48000}, {60, 120, 4320000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.minutes << " min at " << row.percentage << "%");
        EXPECT_EQ(row.waitMs, KeyWaitMs(row.minutes, row.percentage));
    }
}

TEST(ReadDlgItemUInt, ReadsBoxTextsAsWindowsDoes)
{
    for (const BoxTextReading& row : kBoxTextReadings) {
        SCOPED_TRACE(row.what);
        BOOL translated = -1;
        const UINT value = ReadDlgItemUInt(row.text, &translated);
        EXPECT_EQ(row.windows == kNotTranslated ? 0 : 1, translated);
        EXPECT_EQ(row.windows == kNotTranslated ? 0 : row.windows, int64_t{value});
    }
}

TEST(ScheduleNextKeyPress, IntervalBoxTextIsClampedOrDefaulted)
{
    struct Row {
        const wchar_t* text;
        uint32_t minutes;
    } rows[] = {
        {L"", 5},           {L"0", 1},   {L"1", 1},    {L"5", 5},           {L"007", 7},
        {L"60", 60},        {L"61", 60}, {L"999", 60}, {L"3000000000", 60}, {L"4294967295", 60},
        {L"4294967296", 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "row " << (&row - rows) << ", expecting " << row.minutes);
        ResetEngineAndFake(777);
        fake.intervalText = row.text;
        std::mt19937 twin = keepAwake.rng;
        const uint32_t percentage = DrawPercentage(twin);
        ScheduleNextKeyPress(kFakeWindow);
        EXPECT_EQ(uint64_t{row.minutes} * percentage * 600u,
                  keepAwake.nextKeyTick - fake.tickCount);
    }
}
