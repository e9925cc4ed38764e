// Switching on and off, the timer step and the injected key press.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_platform.h"

// ResetEngineAndFake seeds 5489, whose draws are 113, 85, 117, ... %: with the
// box's 5 minutes the first waits are 339,000, 255,000 and 351,000 ms.

// Switches on; returns the tick the wait counts from.
static uint64_t SwitchOn()
{
    const uint64_t from = fake.tickCount;
    SetActive(kFakeWindow, true, false);
    return from;
}

TEST(SetActive, SwitchingOnSchedulesArmsAndRefreshesOnceLast)
{
    ResetEngineAndFake();
    const uint64_t from = SwitchOn();
    const std::vector<PlatformCall> expected = {kIntervalCall, kTickCall, kCheckBoxCall,
                                                kPickerCall,   kTimeCall, kRefreshCall};
    EXPECT_EQ(expected, fake.calls);
    EXPECT_TRUE(keepAwake.active);
    EXPECT_FALSE(keepAwake.autoDeactivated);
    // 14:00 UTC picked (the tests' zone is UTC) at 12:50: 1 h 10 min ahead.
    EXPECT_EQ(fake.calendarTime + 4200, keepAwake.deactivateAt);
    EXPECT_TRUE(fake.sendInputs.empty()); // nothing is pressed at switch-on
    EXPECT_EQ(from + 339000, keepAwake.nextKeyTick);
    ASSERT_EQ(1u, fake.refreshes.size());
    EXPECT_TRUE(fake.refreshes[0].active);
    EXPECT_EQ(keepAwake.deactivateAt, fake.refreshes[0].deactivateAt);
}

TEST(SetActive, OnlyATickedBoxArmsTheSwitchOff)
{
    struct Row {
        UINT boxState;
        LRESULT pickerAnswer;
        bool armed;
    } rows[] = {
        {BST_CHECKED, GDT_VALID, true},        {BST_UNCHECKED, GDT_VALID, false},
        {BST_INDETERMINATE, GDT_VALID, false}, {BST_CHECKED, GDT_ERROR, false},
        {BST_CHECKED, GDT_NONE, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "box " << row.boxState << ", picker " << row.pickerAnswer);
        ResetEngineAndFake();
        fake.checkBoxState = row.boxState;
        fake.pickerAnswer = row.pickerAnswer;
        SwitchOn();
        EXPECT_TRUE(keepAwake.active); // a failed switch-off time never stops the engine
        EXPECT_EQ(row.armed ? fake.calendarTime + 4200 : 0, keepAwake.deactivateAt);
        EXPECT_EQ(row.boxState == BST_CHECKED ? 1u : 0u, CountCalls(CALL_PICKER));
        EXPECT_EQ(1u, CountCalls(CALL_REFRESH));
    }
}

TEST(SetActive, SwitchingOffClearsEverythingAndRecordsHow)
{
    for (bool automatic : {false, true}) {
        SCOPED_TRACE(automatic ? "automatic" : "by hand");
        ResetEngineAndFake();
        SwitchOn();
        ClearFakeRecord();
        SetActive(kFakeWindow, false, automatic);
        EXPECT_FALSE(keepAwake.active);
        EXPECT_EQ(automatic, keepAwake.autoDeactivated);
        EXPECT_EQ(0u, keepAwake.nextKeyTick);
        EXPECT_EQ(0, keepAwake.deactivateAt);
        const std::vector<PlatformCall> expected = {kRefreshCall};
        EXPECT_EQ(expected, fake.calls); // no key, no draw, no clock
    }
}

TEST(SetActive, SwitchingOnAgainClearsAutoDeactivatedAndStartsOver)
{
    ResetEngineAndFake();
    SwitchOn();
    SetActive(kFakeWindow, false, true);
    ASSERT_TRUE(keepAwake.autoDeactivated);
    fake.tickCount += 5000;
    fake.calendarTime += 4200; // now at 14:00: the picker's time has just come
    const uint64_t from = SwitchOn();
    EXPECT_FALSE(keepAwake.autoDeactivated);
    EXPECT_EQ(from + 255000, keepAwake.nextKeyTick);
    EXPECT_EQ(fake.calendarTime + 86400, keepAwake.deactivateAt); // the same time tomorrow

    // Once more while on: a fresh wait from now and a fresh switch-off time.
    fake.tickCount += 10000;
    fake.pickerValue.wHour = 15;
    const uint64_t again = SwitchOn();
    EXPECT_EQ(again + 351000, keepAwake.nextKeyTick);
    EXPECT_EQ(fake.calendarTime + 3600, keepAwake.deactivateAt);
}

TEST(RunTimerStep, PressIsDueWhenTheTickReachesNextKeyTick)
{
    struct Row {
        int64_t offset; // tick count minus nextKeyTick
        bool pressed;
    } rows[] = {{-1000, false}, {-1, false}, {0, true}, {1, true}, {36000000, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.offset);
        ResetEngineAndFake();
        fake.checkBoxState = BST_UNCHECKED;
        SwitchOn();
        const uint64_t due = keepAwake.nextKeyTick;
        fake.tickCount = due + static_cast<uint64_t>(row.offset); // wraps back for negative offsets
        ClearFakeRecord();
        RunTimerStep(kFakeWindow);
        EXPECT_EQ(row.pressed ? 1u : 0u, fake.sendInputs.size());
        EXPECT_EQ(0u, CountCalls(CALL_REFRESH)); // the window refreshes after the step
        EXPECT_EQ(0u, CountCalls(CALL_TIME));    // nothing armed: the calendar is not read
        EXPECT_EQ(row.pressed ? fake.tickCount + 255000 : due, keepAwake.nextKeyTick);
    }
}

TEST(RunTimerStep, LongOverdueGivesOnePressNotACatchUp)
{
    ResetEngineAndFake();
    fake.checkBoxState = BST_UNCHECKED;
    SwitchOn();
    fake.tickCount += 10ull * 3600 * 1000; // the machine slept ten hours
    RunTimerStep(kFakeWindow);
    RunTimerStep(kFakeWindow);
    RunTimerStep(kFakeWindow);
    EXPECT_EQ(1u, fake.sendInputs.size());
    EXPECT_EQ(fake.tickCount + 255000, keepAwake.nextKeyTick); // a fresh wait from now
}

TEST(RunTimerStep, NextWaitCountsFromAfterThePress)
{
    ResetEngineAndFake(5489);
    fake.checkBoxState = BST_UNCHECKED;
    fake.intervalText = L"1";
    fake.tickStepAfterSendInput = 700;
    SwitchOn(); // draws 113 %
    fake.tickCount = keepAwake.nextKeyTick + 400;
    const uint64_t pressedAt = fake.tickCount;
    RunTimerStep(kFakeWindow); // draws 85 %
    EXPECT_EQ(pressedAt + 700 + uint64_t{85} * 600,
              keepAwake.nextKeyTick); // lateness is not made up
}

TEST(RunTimerStep, PressIsOneCallOfTwoKeyboardRecords)
{
    ResetEngineAndFake();
    fake.checkBoxState = BST_UNCHECKED;
    SwitchOn();
    fake.tickCount = keepAwake.nextKeyTick;
    ClearFakeRecord();
    RunTimerStep(kFakeWindow);
    const std::vector<PlatformCall> expected = {kTickCall, kPressCall, kIntervalCall, kTickCall};
    EXPECT_EQ(expected, fake.calls); // two records of sizeof(INPUT) in one call
#if defined(_WIN64) || (defined(__x86_64__) && !defined(_WIN32))
    EXPECT_EQ(40u, sizeof(INPUT));
#endif
    ASSERT_EQ(1u, fake.sendInputs.size());
    const std::vector<INPUT>& records = fake.sendInputs[0];
    ASSERT_EQ(2u, records.size());
    const DWORD flags[2] = {0, KEYEVENTF_KEYUP};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "down" : "up");
        INPUT expectedRecord;
        std::memset(&expectedRecord, 0, sizeof expectedRecord);
        expectedRecord.type = INPUT_KEYBOARD;
        expectedRecord.ki.wVk = 0x7E; // F15 by its number, not by the header's name for it
        expectedRecord.ki.dwFlags = flags[i];
        // Byte for byte: these three fields, every other one and the padding zero.
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
        EXPECT_EQ(0, std::memcmp(&expectedRecord, &records[i], sizeof(INPUT)));
    }
}

TEST(RunTimerStep, SwitchOffIsDueWhenTheClockReachesDeactivateAt)
{
    struct Row {
        int64_t offset; // calendar time minus deactivateAt
        bool switchedOff;
    } rows[] = {{-60, false}, {-1, false}, {0, true}, {1, true}, {int64_t{86400} * 30, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.offset);
        ResetEngineAndFake();
        SwitchOn();
        fake.calendarTime = keepAwake.deactivateAt + row.offset;
        ClearFakeRecord();
        RunTimerStep(kFakeWindow);
        EXPECT_EQ(!row.switchedOff, keepAwake.active);
        EXPECT_EQ(row.switchedOff, keepAwake.autoDeactivated);
        EXPECT_EQ(row.switchedOff ? 1u : 0u, CountCalls(CALL_REFRESH));
        EXPECT_EQ(row.switchedOff ? 0u : 1000000u + 339000, keepAwake.nextKeyTick);
    }
}

TEST(RunTimerStep, SwitchOffWinsOverADuePressOnTheSameTick)
{
    ResetEngineAndFake();
    SwitchOn();
    fake.tickCount = keepAwake.nextKeyTick + 5;
    fake.calendarTime = keepAwake.deactivateAt;
    ClearFakeRecord();
    RunTimerStep(kFakeWindow);
    const std::vector<PlatformCall> expected = {kTimeCall, kRefreshCall};
    EXPECT_EQ(expected, fake.calls); // no key, no tick read, one refresh
    ASSERT_EQ(1u, fake.refreshes.size());
    EXPECT_FALSE(fake.refreshes[0].active);
    EXPECT_TRUE(fake.refreshes[0].autoDeactivated);
    EXPECT_EQ(0u, keepAwake.nextKeyTick);
    EXPECT_EQ(0, keepAwake.deactivateAt);
}

TEST(RunTimerStep, WithoutASwitchOffTimeItRunsForeverWithoutReadingTheCalendar)
{
    ResetEngineAndFake();
    fake.checkBoxState = BST_UNCHECKED;
    SwitchOn();
    ClearFakeRecord();
    for (int second = 0; second < 3 * 86400; ++second) {
        fake.tickCount += 1000;
        fake.calendarTime += 1;
        RunTimerStep(kFakeWindow);
        ASSERT_TRUE(keepAwake.active);
    }
    EXPECT_EQ(0u, CountCalls(CALL_TIME));
    // Three days of 4 to 6 minute waits.
    EXPECT_GE(fake.sendInputs.size(), 3u * 86400 / 360);
    EXPECT_LE(fake.sendInputs.size(), 3u * 86400 / 240 + 1);
}

// The switch-off keeps to the wall clock, the presses to the tick count.
TEST(RunTimerStep, WallClockSetBackOrForwardMovesOnlyTheSwitchOff)
{
    struct Row {
        const char* what;
        int64_t setBy;    // seconds the wall clock is set by just after switch-on
        int64_t offAfter; // real seconds from switch-on to the switch-off
    } rows[] = {
        {"set back two hours: on long past the real moment of 14:00", -7200, 4200 + 7200},
        {"set forward an hour: off ten minutes on", 3600, 600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResetEngineAndFake();
        const uint64_t from = SwitchOn(); // 14:00 is 70 min ahead, the first press 339 s
        const int64_t deactivateAt = keepAwake.deactivateAt;
        fake.calendarTime += row.setBy;
        uint64_t firstPress = 0;
        int64_t seconds = 0;
        while (keepAwake.active && seconds < 86400) {
            fake.tickCount += 1000;
            fake.calendarTime += 1;
            ++seconds;
            RunTimerStep(kFakeWindow);
            if (firstPress == 0 && !fake.sendInputs.empty())
                firstPress = fake.tickCount;
        }
        EXPECT_EQ(row.offAfter, seconds);
        EXPECT_EQ(deactivateAt, fake.calendarTime); // the tick the wall clock reads 14:00
        EXPECT_EQ(from + 339000, firstPress);       // where the tick count put it
    }
}
