// Thirty simulated days of one-second ticks through the engine, driven the way
// the window drives it, while the user, the box and the clocks misbehave.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "fake_platform.h"
#include "oracle.h"
#include "status_text.h"
#include "test_time.h"

namespace {

const uint64_t kTicks = 30ull * 86400;

// Each run starts a fortnight before one change of the clocks in Berlin, so
// the running clock crosses it in the middle of the thirty days.
struct Plan {
    const char* name;
    int year, month, day;
    uint32_t seed;
};

struct Counts {
    uint64_t activeTicks, presses, activations, autoOffs, manualOffs;
    uint64_t armed, armedAcrossChange, autoOffsAcrossChange, loosePicks;
    uint64_t jumpsForward, jumpsBack, clockSetRight, jumpsToChange, sleeps;
    uint64_t boxTexts, pickerChanges, checkBoxChanges, offsetChanges, changesByRunningClock;
};

// What the engine must hold, kept by the test beside the real record.
struct Model {
    uint64_t dueTick;       // nextKeyTick as scheduled
    uint64_t scheduledFrom; // the tick the wait was counted from
    int64_t armed;          // deactivateAt as set at switch-on
    bool armedAcrossChange; // the change of the clocks lies between switch-on and armed
};

// Interval box texts the user might leave behind: mostly short numbers, and
// junk, nothing, zero padding and numbers past 32 bits among them.
std::wstring RandomBoxText(std::mt19937& random)
{
    static const wchar_t* const kJunk[] = {L"abc",  L"-5",  L"+5",     L" 5", L"5 ",    L"1e3",
                                           L"0x10", L"5.5", L"\x0665", L"--", L"\xFF15"};
    const uint32_t kind = static_cast<uint32_t>(random() % 20);
    if (kind < 11)
        return std::to_wstring(1 + random() % 10);
    if (kind < 14)
        return std::to_wstring(random() % 100);
    if (kind < 16)
        return kJunk[random() % (sizeof kJunk / sizeof kJunk[0])];
    if (kind < 17)
        return L"";
    if (kind < 18)
        return std::to_wstring(61 + random() % 4294967235u); // up to 4294967295
    if (kind < 19)
        return std::to_wstring(4294967296ull + random()) + std::wstring(random() % 3, L'7');
    return std::wstring(1 + random() % 12, L'0') + std::to_wstring(random() % 70);
}

class Soak : public testing::Test {
  protected:
    void Run(const Plan& plan);

    void Perturb();
    void SwitchOnByHand();
    void SwitchOffByHand();
    void Tick();
    void CheckRefreshAndTexts();
    std::string Where() const;

    std::mt19937 random;
    const Plan* plan = nullptr;
    int64_t change = 0;  // the change of the clocks this run is built around
    uint64_t index = 0;  // tick number within the run
    int64_t trueMs = 0;  // real time, in ms since 1970
    int64_t skew = 0;    // seconds the wall clock is set off from real time
    bool jumped = false; // the clocks were moved before this tick
    bool lastOffWasAutomatic = false;
    Model model = {};
    Counts counts = {};
    std::vector<PlatformCall> expected;
};

std::string Soak::Where() const
{
    return std::string(plan->name) + ", seed " + std::to_string(plan->seed) + ", tick " +
           std::to_string(index) + ", tick count " + std::to_string(fake.tickCount) +
           ", calendar " + std::to_string(fake.calendarTime) + ", box \"" +
           std::string(fake.intervalText.begin(), fake.intervalText.end()) + "\"";
}

static std::string CheckWait(uint64_t from, uint64_t due, uint32_t minutes)
{
    const uint64_t wait = due - from;
    const uint64_t unit = uint64_t{minutes} * 600; // 1 % of the interval
    if (wait % unit != 0 || wait / unit < 80 || wait / unit > 120)
        return "wait of " + std::to_string(wait) + " ms is not 80..120 % of " +
               std::to_string(minutes) + " min";
    return "";
}

// The call itself, two records of sizeof(INPUT), is in the expected list.
static std::string CheckPress(const std::vector<INPUT>& records)
{
    const DWORD flags[2] = {0, KEYEVENTF_KEYUP};
    for (size_t k = 0; k < 2; ++k) {
        const INPUT& in = records[k];
        if (in.type != INPUT_KEYBOARD || in.ki.wVk != VK_F15 || in.ki.wScan != 0 ||
            in.ki.dwFlags != flags[k] || in.ki.time != 0 || in.ki.dwExtraInfo != 0)
            return "record " + std::to_string(k) + " is not F15 " + (k == 0 ? "down" : "up");
    }
    return "";
}

void Soak::CheckRefreshAndTexts()
{
    ASSERT_EQ(1u, fake.refreshes.size()) << Where();
    const RefreshSnapshot& seen = fake.refreshes[0];
    ASSERT_EQ(keepAwake.active, seen.active) << Where();
    ASSERT_EQ(keepAwake.autoDeactivated, seen.autoDeactivated) << Where();
    ASSERT_EQ(keepAwake.nextKeyTick, seen.nextKeyTick) << Where();
    ASSERT_EQ(keepAwake.deactivateAt, seen.deactivateAt) << Where();
    if (!keepAwake.active)
        return;
    // The two lines the window would show now.
    const uint64_t tick = fake.tickCount;
    const uint64_t remaining = keepAwake.nextKeyTick > tick ? keepAwake.nextKeyTick - tick : 0;
    ASSERT_EQ("", CheckNextKeyLine(FormatNextKeyText(remaining), remaining)) << Where();
    const int64_t now = fake.calendarTime;
    ASSERT_EQ("",
              CheckDeactivateLine(FormatAutoDeactivateText(now), BerlinOffset, model.armed, now))
        << Where();
}

void Soak::SwitchOnByHand()
{
    // Between activations the user may pick another time or flip the box.
    if (random() % 2 == 0) {
        const uint32_t answer = static_cast<uint32_t>(random() % 100);
        fake.pickerAnswer = answer < 3 ? GDT_ERROR : answer < 5 ? GDT_NONE : GDT_VALID;
        fake.pickerValue = SYSTEMTIME{
            static_cast<WORD>(1990 + random() % 50), static_cast<WORD>(1 + random() % 12),
            static_cast<WORD>(random() % 7), static_cast<WORD>(1 + random() % 28),
            // now and then the hour the clocks skip or repeat
            static_cast<WORD>(random() % 6 == 0 ? 2 : random() % 24),
            static_cast<WORD>(random() % 60), static_cast<WORD>(random() % 60),
            static_cast<WORD>(random() % 1000)};
        ++counts.pickerChanges;
    }
    if (random() % 4 == 0) {
        const bool odd = random() % 20 == 0;
        fake.checkBoxState = odd                                 ? BST_INDETERMINATE
                             : fake.checkBoxState == BST_CHECKED ? BST_UNCHECKED
                                                                 : BST_CHECKED;
        ++counts.checkBoxChanges;
    }

    const uint64_t from = fake.tickCount;
    const int64_t now = fake.calendarTime;
    const bool ticked = fake.checkBoxState == BST_CHECKED;
    const bool picked = ticked && fake.pickerAnswer == GDT_VALID;
    ClearFakeRecord();
    SetActive(kFakeWindow, true, false);

    expected = {kIntervalCall, kTickCall, kCheckBoxCall};
    if (ticked)
        expected.push_back(kPickerCall);
    if (picked)
        expected.push_back(kTimeCall);
    expected.push_back(kRefreshCall);
    ASSERT_EQ(expected, fake.calls) << Where();
    ASSERT_TRUE(fake.sendInputs.empty()) << Where(); // nothing is pressed at switch-on
    ASSERT_TRUE(keepAwake.active) << Where();
    ASSERT_FALSE(keepAwake.autoDeactivated) << Where();
    ASSERT_EQ("",
              CheckWait(from, keepAwake.nextKeyTick, ExpectedIntervalMinutes(fake.intervalText)))
        << Where();

    if (picked) {
        const Occurrence occurrence =
            ExpectedOccurrence(BerlinOffset, now, fake.pickerValue.wHour, fake.pickerValue.wMinute);
        if (occurrence.exact) {
            ASSERT_EQ(occurrence.value, keepAwake.deactivateAt)
                << Where() << ", picked " << fake.pickerValue.wHour << ":"
                << fake.pickerValue.wMinute;
        } else {
            // The picked time falls into the hour the clocks skip or repeat.
            ASSERT_EQ("", CheckOccurrenceShape(BerlinOffset, now, fake.pickerValue.wMinute,
                                               keepAwake.deactivateAt))
                << Where();
            ++counts.loosePicks;
        }
    } else {
        ASSERT_EQ(0, keepAwake.deactivateAt) << Where();
    }
    model.dueTick = keepAwake.nextKeyTick;
    model.scheduledFrom = from;
    model.armed = keepAwake.deactivateAt;
    model.armedAcrossChange = model.armed != 0 && now < change && change <= model.armed;
    ASSERT_EQ("", CheckEngineInvariants(model.scheduledFrom)) << Where();
    ++counts.activations;
    counts.armed += model.armed != 0;
    counts.armedAcrossChange += model.armedAcrossChange;
    CheckRefreshAndTexts();
}

void Soak::SwitchOffByHand()
{
    ClearFakeRecord();
    SetActive(kFakeWindow, false, false);
    expected = {kRefreshCall};
    ASSERT_EQ(expected, fake.calls) << Where();
    ASSERT_TRUE(fake.sendInputs.empty()) << Where();
    ASSERT_FALSE(keepAwake.active) << Where();
    ASSERT_FALSE(keepAwake.autoDeactivated) << Where();
    ASSERT_EQ("", CheckEngineInvariants(0)) << Where();
    model = Model{};
    lastOffWasAutomatic = false;
    ++counts.manualOffs;
    CheckRefreshAndTexts();
}

void Soak::Perturb()
{
    jumped = false;
    const uint32_t roll = static_cast<uint32_t>(random() % 1000000);
    if (roll < 200) {
        fake.intervalText = RandomBoxText(random);
        ++counts.boxTexts;
    } else if (roll < 250) {
        // The wall clock is set: right again, to just before the change of
        // the clocks, or off by one minute to about three days either way.
        const int64_t before = skew;
        const uint32_t kind = static_cast<uint32_t>(random() % 12);
        if (kind < 4 && skew != 0) {
            skew = 0;
            ++counts.clockSetRight;
        } else if (kind < 6) {
            skew = change - 1 - static_cast<int64_t>(random() % 10800) - trueMs / 1000;
            ++counts.jumpsToChange;
        } else {
            const int64_t size = static_cast<int64_t>(60 + random() % 60) << (random() % 12);
            skew += random() % 2 ? size : -size;
            if (skew > 10 * int64_t{86400} || skew < -10 * int64_t{86400})
                skew = 0;
        }
        counts.jumpsForward += skew > before;
        counts.jumpsBack += skew < before;
        jumped = true;
    } else if (roll < 267) {
        // The machine sleeps: both clocks move on together.
        const int64_t ms = (1 + random() % 12) * 3600000ll + random() % 3600000;
        trueMs += ms;
        fake.tickCount += static_cast<uint64_t>(ms);
        ++counts.sleeps;
        jumped = true;
    } else if (keepAwake.active && roll < 334) {
        SwitchOffByHand();
    } else if (!keepAwake.active && roll >= 1000 &&
               roll < 1000u + (lastOffWasAutomatic ? 3333u : 555u)) {
        SwitchOnByHand();
    }
}

void Soak::Tick()
{
    // A window timer's period wanders a little around its 1000 ms.
    const uint64_t step = 992 + random() % 32;
    fake.tickCount += step;
    const int64_t offsetBefore = BerlinOffset(fake.calendarTime);
    trueMs += static_cast<int64_t>(step);
    fake.calendarTime = trueMs / 1000 + skew;
    if (BerlinOffset(fake.calendarTime) != offsetBefore) {
        ++counts.offsetChanges;
        counts.changesByRunningClock += !jumped;
    }
    if (!keepAwake.active)
        return; // the window does nothing while off

    ++counts.activeTicks;
    const bool offDue = model.armed != 0 && fake.calendarTime >= model.armed;
    const bool pressDue = !offDue && fake.tickCount >= model.dueTick;
    fake.tickStepAfterSendInput = random() % 20; // sending takes a moment
    ClearFakeRecord();
    RunTimerStep(kFakeWindow);
    if (keepAwake.active)
        RefreshControls(kFakeWindow);

    expected.clear();
    if (model.armed != 0)
        expected.push_back(kTimeCall);
    if (!offDue)
        expected.push_back(kTickCall);
    if (pressDue)
        expected.insert(expected.end(), {kPressCall, kIntervalCall, kTickCall});
    expected.push_back(kRefreshCall);
    ASSERT_EQ(expected, fake.calls)
        << Where() << (offDue ? ", switch-off due" : "") << (pressDue ? ", press due" : "");
    ASSERT_EQ(pressDue ? 1u : 0u, fake.sendInputs.size()) << Where();

    if (offDue) {
        ASSERT_FALSE(keepAwake.active) << Where();
        ASSERT_TRUE(keepAwake.autoDeactivated) << Where();
        ASSERT_EQ("", CheckEngineInvariants(0)) << Where();
        ++counts.autoOffs;
        counts.autoOffsAcrossChange += model.armedAcrossChange;
        model = Model{};
        lastOffWasAutomatic = true;
    } else {
        if (pressDue) {
            ASSERT_EQ("", CheckPress(fake.sendInputs[0])) << Where();
            // The wait counts from the tick read after the press.
            model.scheduledFrom = fake.tickCount;
            ASSERT_EQ("", CheckWait(model.scheduledFrom, keepAwake.nextKeyTick,
                                    ExpectedIntervalMinutes(fake.intervalText)))
                << Where();
            model.dueTick = keepAwake.nextKeyTick;
            ++counts.presses;
        }
        ASSERT_TRUE(keepAwake.active) << Where();
        ASSERT_FALSE(keepAwake.autoDeactivated) << Where();
        ASSERT_EQ(model.dueTick, keepAwake.nextKeyTick) << Where();
        ASSERT_EQ(model.armed, keepAwake.deactivateAt) << Where(); // fixed while on
        ASSERT_EQ("", CheckEngineInvariants(model.scheduledFrom)) << Where();
    }
    CheckRefreshAndTexts();
}

void Soak::Run(const Plan& thePlan)
{
    plan = &thePlan;
    random.seed(plan->seed);
    std::printf("[ soak     ] %s: seed %u\n", plan->name, plan->seed);
    ResetEngineAndFake(plan->seed);
    UseTimeZone("Europe/Berlin");
    const int64_t start = UtcSeconds(plan->year, plan->month, plan->day, 0, 0, 0);
    change = plan->month < 7 ? SpringForwardUtc(plan->year) : FallBackUtc(plan->year);
    trueMs = start * 1000;
    fake.calendarTime = start;
    fake.tickCount = 3600000 + random() % 86400000; // the machine has been up a while
    int64_t earliest = start, latest = start;

    SwitchOnByHand();
    for (index = 0; index < kTicks && !HasFatalFailure(); ++index) {
        Perturb();
        if (HasFatalFailure())
            return;
        Tick();
        earliest = std::min(earliest, fake.calendarTime);
        latest = std::max(latest, fake.calendarTime);
    }
    if (HasFatalFailure())
        return;

    const Counts& c = counts;
    // uint64_t is not unsigned long long everywhere: %llu needs the cast.
    const auto n = [](uint64_t value) { return static_cast<unsigned long long>(value); };
    std::printf("[ soak     ] %s: %llu ticks (%llu while on), %llu presses, %llu switch-ons "
                "(%llu armed, %llu across the change of the clocks, %llu in its skipped or "
                "repeated hour), %llu automatic and %llu manual switch-offs (%llu automatic "
                "across the change)\n",
                plan->name, n(kTicks), n(c.activeTicks), n(c.presses), n(c.activations), n(c.armed),
                n(c.armedAcrossChange), n(c.loosePicks), n(c.autoOffs), n(c.manualOffs),
                n(c.autoOffsAcrossChange));
    std::printf("[ soak     ] %s: %llu wall-clock jumps (%llu forward, %llu back, %llu set "
                "right, %llu to just before the change), %llu sleeps, %llu box texts, %llu picker "
                "and %llu check-box changes, offset changed %llu times (%llu by the running "
                "clock)\n",
                plan->name, n(c.jumpsForward + c.jumpsBack), n(c.jumpsForward), n(c.jumpsBack),
                n(c.clockSetRight), n(c.jumpsToChange), n(c.sleeps), n(c.boxTexts),
                n(c.pickerChanges), n(c.checkBoxChanges), n(c.offsetChanges),
                n(c.changesByRunningClock));
    RecordProperty("presses", std::to_string(c.presses));
    RecordProperty("automaticSwitchOffs", std::to_string(c.autoOffs));
    RecordProperty("manualSwitchOffs", std::to_string(c.manualOffs));
    RecordProperty("activations", std::to_string(c.activations));

    // The run did what it was built for: much of everything, both ways.
    EXPECT_GT(c.presses, 5000u);
    EXPECT_GT(c.activations, 50u);
    EXPECT_GT(c.autoOffs, 10u);
    EXPECT_GT(c.manualOffs, 20u);
    EXPECT_GT(c.armedAcrossChange, 0u);
    EXPECT_GT(c.autoOffsAcrossChange, 0u);
    EXPECT_GT(c.loosePicks, 0u);
    EXPECT_GT(c.jumpsForward, 20u);
    EXPECT_GT(c.jumpsBack, 20u);
    EXPECT_GT(c.clockSetRight, 10u);
    EXPECT_GT(c.sleeps, 10u);
    EXPECT_GT(c.boxTexts, 100u);
    EXPECT_GT(c.changesByRunningClock, 0u);
    EXPECT_LT(earliest, change);
    EXPECT_GT(latest, change);
}

TEST_F(Soak, ThirtyDaysAcrossTheSpringChange) { Run(Plan{"spring", 2026, 3, 15, 20260315u}); }

TEST_F(Soak, ThirtyDaysAcrossTheAutumnChange) { Run(Plan{"autumn", 2026, 10, 11, 20261011u}); }

} // namespace
