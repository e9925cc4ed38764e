// Seeded random bad input through the engine's entry points and the two
// status texts: nothing crashes and every result keeps its exact rule.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>

#include "fake_platform.h"
#include "local_time.h"
#include "oracle.h"
#include "status_text.h"
#include "test_time.h"

namespace {

struct Zone {
    const char* name;
    ZoneOffset offset;
};
const Zone kZones[] = {{"UTC0", UtcOffset}, {"Europe/Berlin", BerlinOffset}};

std::mt19937 Seeded(const char* what, uint32_t seed)
{
    std::printf("[ robust   ] %s: seed %u\n", what, seed);
    return std::mt19937(seed);
}

uint64_t Random64(std::mt19937& random)
{
    return (static_cast<uint64_t>(random()) << 32) | static_cast<uint64_t>(random());
}

// Box texts no number box should hold, and some it may: any UTF-16 code units
// (NULs and lone surrogates among them), wide values past 16 bits, digits
// among signs, blanks and NULs, and digit runs up to thousands long.
std::wstring RandomBoxText(std::mt19937& random)
{
    static const wchar_t kNear[] = L"0123456789 +-\t\0.,";
    std::wstring text;
    switch (random() % 4) {
    case 0: // any code units, up to a few thousand
        for (size_t n = random() % (random() % 4 == 0 ? 3000 : 12); n > 0; --n)
            text += static_cast<wchar_t>(random() % 0x10000);
        break;
    case 1: // what wchar_t holds beyond UTF-16 here, negative included
        for (size_t n = 1 + random() % 4; n > 0; --n)
            text += static_cast<wchar_t>(static_cast<int32_t>(random()));
        break;
    case 2: // digits with signs, blanks, NULs and separators in between
        for (size_t n = random() % 16; n > 0; --n)
            text += kNear[random() % (sizeof kNear / sizeof kNear[0] - 1)];
        break;
    default: // zeros, now and then thousands, before up to twelve digits
        text.assign(random() % (random() % 4 == 0 ? 3000 : 4), L'0');
        for (size_t n = random() % 13; n > 0; --n)
            text += static_cast<wchar_t>(L'0' + random() % 10);
        break;
    }
    return text;
}

// The three ways a wait gets scheduled: directly, at switch-on, after a press.
enum Path { kDirect, kSwitchOn, kAfterPress };

// The wait the engine draws for the box text along one path, and the tick it
// counted from.
uint64_t ScheduleAlong(Path path, uint64_t* from)
{
    switch (path) {
    case kDirect:
        ScheduleNextKeyPress(kFakeWindow);
        break;
    case kSwitchOn:
        SetActive(kFakeWindow, true, false);
        break;
    case kAfterPress:
        fake.tickCount = keepAwake.nextKeyTick + 1;
        RunTimerStep(kFakeWindow);
        break;
    }
    *from = fake.tickCount;
    return keepAwake.nextKeyTick - fake.tickCount;
}

// Runs one text along one path; "" when the wait is exactly the rule's.
std::string CheckBoxText(const std::wstring& text, Path path)
{
    if (path == kAfterPress && !keepAwake.active)
        SetActive(kFakeWindow, true, false);
    fake.intervalText = text;
    std::mt19937 twin = keepAwake.rng;
    const uint32_t percentage = DrawPercentage(twin);
    uint64_t from = 0;
    const uint64_t wait = ScheduleAlong(path, &from);
    const uint32_t minutes = ExpectedIntervalMinutes(text);
    if (wait < 48000 || wait > 4320000)
        return "wait " + std::to_string(wait) + " ms outside 48,000..4,320,000";
    if (wait != uint64_t{minutes} * percentage * 600)
        return "wait " + std::to_string(wait) + " ms, expected " + std::to_string(minutes) +
               " min at " + std::to_string(percentage) + " %";
    if (path != kDirect) {
        std::string broken = CheckEngineInvariants(from);
        if (!broken.empty())
            return broken;
    }
    if (path == kSwitchOn)
        SetActive(kFakeWindow, false, false);
    ClearFakeRecord(); // keep the record small over thousands of rounds
    return "";
}

std::string Describe(const std::wstring& text)
{
    std::string out = std::to_string(text.size()) + " units:";
    for (size_t k = 0; k < text.size() && k < 24; ++k)
        out += " " + std::to_string(static_cast<int64_t>(text[k]));
    return out;
}

// The reading itself is ReadDlgItemUInt's table test; here any text, read or
// not, must give the engine a wait of the clamped or default interval.
TEST(RandomBoxText, AnyTextGivesAWaitOfTheClampedOrDefaultInterval)
{
    std::mt19937 random = Seeded("box texts", 1003);
    ResetEngineAndFake(1003);
    fake.checkBoxState = BST_UNCHECKED;
    const std::wstring edges[] = {std::wstring(L"5\0", 2), std::wstring(1, L'\0'),
                                  std::wstring(1, static_cast<wchar_t>(0xD800)),
                                  std::wstring(3000, L'9'), std::wstring(3000, L'0') + L"42"};
    size_t counted[61] = {};
    for (int round = 0; round < 30000; ++round) {
        const std::wstring text = round < 15 ? edges[round / 3] : RandomBoxText(random);
        const Path path = static_cast<Path>(round % 3);
        ASSERT_EQ("", CheckBoxText(text, path))
            << "round " << round << ", path " << path << ", text of " << Describe(text);
        ++counted[ExpectedIntervalMinutes(text)];
    }
    // The default, both limits and plain values all occurred.
    EXPECT_GT(counted[5], 1000u);
    EXPECT_GT(counted[1], 100u);
    EXPECT_GT(counted[60], 1000u);
    EXPECT_GT(counted[7], 10u);
}

// Calendar times of every kind: anything a 64-bit value holds, the edges of
// the usable range, and ordinary times, some of them on a whole minute.
int64_t RandomCalendarTime(std::mt19937& random)
{
    switch (random() % 8) {
    case 0:
        return static_cast<int64_t>(Random64(random));
    case 1: {
        static const int64_t kEdges[] = {INT64_MIN, INT64_MIN + 1, -86400,    -1,           0, 1,
                                         59,        86399,         INT64_MAX, INT64_MAX - 1};
        return kEdges[random() % (sizeof kEdges / sizeof kEdges[0])];
    }
    case 2:
        return kLastInstant - 2 * int64_t{86400} +
               static_cast<int64_t>(random() % (uint64_t{4} * 86400));
    case 3:
        return -static_cast<int64_t>(random() % 100000);
    case 4:
        return static_cast<int64_t>(Random64(random) % static_cast<uint64_t>(kLastInstant + 1));
    case 5: // on a whole minute, so that the picked time may be exactly now
        return (kYear1996 + static_cast<int64_t>(Random64(random) % (60ull * 365 * 86400))) / 60 *
               60;
    default: // round about now
        return UtcSeconds(2026, 1, 1, 0, 0, 0) +
               static_cast<int64_t>(random() % (uint64_t{3} * 365 * 86400));
    }
}

WORD RandomPickerField(std::mt19937& random, WORD validLimit)
{
    return static_cast<WORD>(random() % 4 == 0 ? random() % 65536 : random() % validLimit);
}

TEST(RandomPicker, AnyPickerAndClockGiveNoneOrAWholeMinuteWithin25Hours)
{
    std::mt19937 random = Seeded("pickers and clocks", 1008);
    for (const Zone& zone : kZones) {
        size_t armed = 0, exactlyNow = 0;
        ResetEngineAndFake(1008);
        UseTimeZone(zone.name);
        for (int round = 0; round < 100000; ++round) {
            keepAwake.active = false;
            keepAwake.nextKeyTick = 0;
            keepAwake.deactivateAt = 0;
            ClearFakeRecord();
            const uint32_t answer = random() % 8;
            fake.pickerAnswer = answer < 5   ? GDT_VALID
                                : answer < 6 ? GDT_NONE
                                : answer < 7 ? GDT_ERROR
                                             : static_cast<LRESULT>(Random64(random));
            SYSTEMTIME& p = fake.pickerValue;
            p = SYSTEMTIME{static_cast<WORD>(random()),   static_cast<WORD>(random()),
                           static_cast<WORD>(random()),   static_cast<WORD>(random()),
                           RandomPickerField(random, 24), RandomPickerField(random, 60),
                           static_cast<WORD>(random()),   static_cast<WORD>(random())};
            fake.calendarTime = RandomCalendarTime(random);
            const int64_t now = fake.calendarTime;
            if (random() % 4 == 0 && now >= 0 && now <= kLastInstant) {
                // The picked time is the present local minute.
                const Civil local = CivilFromSeconds(now + zone.offset(now));
                p.wHour = static_cast<WORD>(local.hour);
                p.wMinute = static_cast<WORD>(local.minute);
                exactlyNow += now % 60 == 0;
            }
            const bool viaSwitchOn = round % 2 == 1;
            int64_t result = 0;
            if (viaSwitchOn) {
                SetActive(kFakeWindow, true, false);
                result = keepAwake.deactivateAt;
            } else {
                result = ComputeDeactivateTime(kFakeWindow);
            }
            const bool valid = fake.pickerAnswer == GDT_VALID && p.wHour <= 23 && p.wMinute <= 59;
            const std::string where = std::string(zone.name) + ", round " + std::to_string(round) +
                                      ", now " + std::to_string(now) + ", answer " +
                                      std::to_string(fake.pickerAnswer) + ", picked " +
                                      std::to_string(p.wHour) + ":" + std::to_string(p.wMinute);
            // The clock is read only after a valid pick.
            std::vector<PlatformCall> calls = {kPickerCall};
            if (valid)
                calls.push_back(kTimeCall);
            if (viaSwitchOn) {
                calls.insert(calls.begin(), {kIntervalCall, kTickCall, kCheckBoxCall});
                calls.push_back(kRefreshCall);
            }
            ASSERT_EQ(calls, fake.calls) << where;
            if (!valid) {
                ASSERT_EQ(0, result) << where;
                continue;
            }
            const Occurrence expected = ExpectedOccurrence(zone.offset, now, p.wHour, p.wMinute);
            if (expected.exact) {
                ASSERT_EQ(expected.value, result) << where;
            } else if (result != 0) {
                ASSERT_EQ("", CheckOccurrenceShape(zone.offset, now, p.wMinute, result)) << where;
            }
            armed += result != 0;
        }
        std::printf("[ robust   ] %s: %zu of 100000 rounds armed, %zu picked exactly now\n",
                    zone.name, armed, exactlyNow);
        EXPECT_GT(armed, 20000u);
        EXPECT_GT(exactlyNow, 500u);
    }
}

TEST(RandomStatusTexts, NextKeyLineForAnyRemainingTime)
{
    std::mt19937 random = Seeded("next-key lines", 2001);
    const uint64_t edges[] = {0,
                              1,
                              999,
                              1000,
                              1001,
                              59999,
                              60000,
                              60001,
                              4320000,
                              UINT64_MAX,
                              UINT64_MAX - 1,
                              UINT64_MAX - 999,
                              UINT64_MAX - 1000,
                              uint64_t{1} << 63};
    for (uint64_t ms : edges)
        ASSERT_EQ("", CheckNextKeyLine(FormatNextKeyText(ms), ms));
    for (int round = 0; round < 100000; ++round) {
        const uint64_t r = Random64(random);
        const uint64_t ms = round % 3 == 0   ? r
                            : round % 3 == 1 ? r % 10000000
                                             : r / 1000 * 1000 + (round % 2 == 0 ? 1 : 999);
        ASSERT_EQ("", CheckNextKeyLine(FormatNextKeyText(ms), ms)) << "round " << round;
    }
}

TEST(RandomStatusTexts, SwitchOffLineForAnyPairOfTimes)
{
    std::mt19937 random = Seeded("switch-off lines", 2002);
    ResetEngineAndFake();
    size_t dated = 0, scheduled = 0;
    for (const Zone& zone : kZones) {
        UseTimeZone(zone.name);
        for (int round = 0; round < 200000; ++round) {
            const int64_t deactivateAt = RandomCalendarTime(random);
            int64_t now = RandomCalendarTime(random);
            if (round % 4 == 0 && deactivateAt > INT64_MIN + 90000 &&
                deactivateAt < INT64_MAX - 90000) // close to each other, either side
                now = deactivateAt - 90000 + static_cast<int64_t>(random() % 180000);
            keepAwake.deactivateAt = deactivateAt;
            const std::wstring line = round % 2 == 0 ? FormatAutoDeactivateText(now)
                                                     : FormatDeactivateLine(deactivateAt, now);
            const std::string broken = CheckDeactivateLine(line, zone.offset, deactivateAt, now);
            ASSERT_EQ("", broken) << zone.name << ", round " << round << ", switch-off "
                                  << deactivateAt << ", now " << now;
            dated +=
                line.size() > 2 && line[line.size() - 2] >= L'0' && line[line.size() - 2] <= L'9';
            scheduled += line.find(L"(scheduled time)") != std::wstring::npos;
        }
    }
    keepAwake.deactivateAt = 0;
    EXPECT_GT(dated, 50000u);
    EXPECT_GT(scheduled, 50000u);
}

} // namespace
