// libFuzzer target: the interval box text through ScheduleNextKeyPress, the
// picker and clock through ComputeDeactivateTime and SetActive, and the two
// status texts, each held to the same independent rules as the random tests.
//
// Input: byte 0 picks the entry point (bits 0-1), the zone (bit 2: Berlin,
// else UTC) and a variant (bits 3-4); the rest is that entry point's data.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fake_platform.h"
#include "oracle.h"
#include "status_text.h"
#include "test_time.h"

static void Require(bool holds, const char* what, const std::string& detail = "")
{
    if (holds)
        return;
    std::fprintf(stderr, "quillet_fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

// Reads the next little-endian value, zeros past the end of the input.
template <typename T> static T Take(const uint8_t** data, size_t* size)
{
    uint8_t bytes[sizeof(T)] = {};
    const size_t n = *size < sizeof(T) ? *size : sizeof(T);
    std::memcpy(bytes, *data, n);
    *data += n;
    *size -= n;
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

// Switching zones reloads the rules, so only when the input asks for another.
static void UseZone(bool berlin)
{
    static int current = -1;
    if (current == static_cast<int>(berlin))
        return;
    UseTimeZone(berlin ? "Europe/Berlin" : "UTC0");
    current = berlin;
}

// The engine off and the fake at plain answers, as a fresh process has them.
static void ResetQuietly()
{
    keepAwake.active = false;
    keepAwake.autoDeactivated = false;
    keepAwake.nextKeyTick = 0;
    keepAwake.deactivateAt = 0;
    keepAwake.rng.seed(5489); // the same input always draws the same waits
    fake = FakePlatform{};
    fake.tickCount = 1000000;
    fake.calendarTime = 1796647800;
    fake.checkBoxState = BST_UNCHECKED;
    fake.intervalText = L"5";
    fake.pickerAnswer = GDT_VALID;
}

static void FuzzBoxText(unsigned variant, const uint8_t* data, size_t size)
{
    std::wstring text;
    while (size >= 2)
        text += static_cast<wchar_t>(Take<uint16_t>(&data, &size)); // UTF-16 code units
    if (variant == 1) {
        SetActive(kFakeWindow, true, false); // schedule the first wait at switch-on
    } else if (variant == 2) {
        SetActive(kFakeWindow, true, false); // or after a press
        fake.tickCount = keepAwake.nextKeyTick;
    }
    fake.intervalText = text;
    std::mt19937 twin = keepAwake.rng;
    const uint32_t percentage = DrawPercentage(twin);
    if (variant == 1)
        SetActive(kFakeWindow, true, false);
    else if (variant == 2)
        RunTimerStep(kFakeWindow);
    else
        ScheduleNextKeyPress(kFakeWindow);
    const uint64_t wait = keepAwake.nextKeyTick - fake.tickCount;
    const uint32_t minutes = ExpectedIntervalMinutes(text);
    Require(wait == uint64_t{minutes} * percentage * 600, "wait not the rule's:",
            std::to_string(wait) + " ms for " + std::to_string(minutes) + " min at " +
                std::to_string(percentage) + " %");
}

static void FuzzPicker(bool berlin, unsigned variant, const uint8_t* data, size_t size)
{
    const ZoneOffset zone = berlin ? BerlinOffset : UtcOffset;
    // Eight 16-bit fields, year to milliseconds, with nothing between them.
    SYSTEMTIME& picked = fake.pickerValue = Take<SYSTEMTIME>(&data, &size);
    fake.pickerAnswer = static_cast<LRESULT>(Take<int64_t>(&data, &size));
    if (variant & 1) // the answers a picker really gives
        fake.pickerAnswer = static_cast<uint64_t>(fake.pickerAnswer) % 3 - 1;
    int64_t now = Take<int64_t>(&data, &size);
    if (variant & 2) // a usable clock, so that the search goes deep
        now = static_cast<int64_t>(static_cast<uint64_t>(now) %
                                   static_cast<uint64_t>(kLastInstant + 2));
    fake.calendarTime = now;
    fake.checkBoxState = BST_CHECKED;

    int64_t result = 0;
    if (variant >= 2) {
        SetActive(kFakeWindow, true, false);
        result = keepAwake.deactivateAt;
    } else {
        result = ComputeDeactivateTime(kFakeWindow);
    }
    if (fake.pickerAnswer != GDT_VALID || picked.wHour > 23 || picked.wMinute > 59) {
        Require(result == 0, "a failing or impossible pick armed a switch-off");
        return;
    }
    const Occurrence expected = ExpectedOccurrence(zone, now, picked.wHour, picked.wMinute);
    const std::string detail = std::to_string(result) + " at " + std::to_string(now) + " for " +
                               std::to_string(picked.wHour) + ":" + std::to_string(picked.wMinute);
    if (expected.exact) {
        Require(result == expected.value, "switch-off time not the next occurrence:", detail);
    } else if (result != 0) {
        Require(now >= 0 && now <= kLastInstant,
                "switch-off armed with the clock out of range:", detail);
        const std::string broken = CheckOccurrenceShape(zone, now, picked.wMinute, result);
        Require(broken.empty(), broken.c_str(), detail);
    }
}

static void FuzzTexts(bool berlin, const uint8_t* data, size_t size)
{
    const uint64_t remainingMs = Take<uint64_t>(&data, &size);
    const int64_t deactivateAt = Take<int64_t>(&data, &size);
    const int64_t now = Take<int64_t>(&data, &size);
    const std::string next = CheckNextKeyLine(FormatNextKeyText(remainingMs), remainingMs);
    Require(next.empty(), next.c_str());

    keepAwake.deactivateAt = deactivateAt;
    const std::wstring line = FormatAutoDeactivateText(now);
    keepAwake.deactivateAt = 0;
    Require(line == FormatDeactivateLine(deactivateAt, now), "the two switch-off lines differ");
    const std::string broken =
        CheckDeactivateLine(line, berlin ? BerlinOffset : UtcOffset, deactivateAt, now);
    Require(broken.empty(), broken.c_str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t head = data[0];
    const bool berlin = (head & 4) != 0;
    const unsigned variant = (head >> 3) & 3;
    UseZone(berlin);
    ResetQuietly();
    switch (head & 3) {
    case 0:
        FuzzBoxText(variant % 3, data + 1, size - 1);
        break;
    case 1:
        FuzzPicker(berlin, variant, data + 1, size - 1);
        break;
    default:
        FuzzTexts(berlin, data + 1, size - 1);
        break;
    }
    return 0;
}
