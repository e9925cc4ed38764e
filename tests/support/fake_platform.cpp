// The fake platform seam linked into the engine's tests.
#include "fake_platform.h"

#include <algorithm>

#include "control_ids.h"
#include "dlg_item_int.h"
#include "test_time.h"

FakePlatform fake;
HWND const kFakeWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));

const PlatformCall kTickCall = {CALL_TICK};
const PlatformCall kTimeCall = {CALL_TIME};
const PlatformCall kCheckBoxCall = {CALL_CHECKBOX, kFakeWindow, IDC_AUTO_CHECK};
const PlatformCall kIntervalCall = {CALL_INTERVAL, kFakeWindow, IDC_INTERVAL, 0};
const PlatformCall kPickerCall = {CALL_PICKER, kFakeWindow, IDC_AUTO_TIME};
const PlatformCall kPressCall = {
    CALL_SEND_INPUT, nullptr, 0, 0, 2, static_cast<int>(sizeof(INPUT))};
const PlatformCall kRefreshCall = {CALL_REFRESH, kFakeWindow};

bool operator==(const PlatformCall& a, const PlatformCall& b)
{
    return a.call == b.call && a.window == b.window && a.id == b.id && a.isSigned == b.isSigned &&
           a.count == b.count && a.size == b.size;
}

void PrintTo(const PlatformCall& call, std::ostream* out)
{
    static const char* const kNames[] = {
        "GetTickCount64",    "time",      "IsDlgButtonChecked", "GetDlgItemInt",
        "DTM_GETSYSTEMTIME", "SendInput", "RefreshControls"};
    *out << kNames[call.call] << "(window " << static_cast<const void*>(call.window) << ", id "
         << call.id << ", signed " << call.isSigned << ", count " << call.count << ", size "
         << call.size << ")";
}

static void Record(const PlatformCall& call) { fake.calls.push_back(call); }

void ResetEngineAndFake(uint32_t seed)
{
    keepAwake.active = false;
    keepAwake.autoDeactivated = false;
    keepAwake.nextKeyTick = 0;
    keepAwake.deactivateAt = 0;
    keepAwake.rng.seed(seed);
    UseTimeZone("UTC"); // where the process can choose; on Windows its zone stays Windows'

    fake = FakePlatform{};
    fake.tickCount = 1000000;
    fake.calendarTime = LocalSeconds(2026, 12, 7, 12, 50, 0);
    fake.checkBoxState = BST_CHECKED;
    fake.intervalText = L"5";
    fake.pickerAnswer = GDT_VALID;
    fake.pickerValue = SYSTEMTIME{2026, 12, 1, 7, 14, 0, 0, 0};
}

void ClearFakeRecord()
{
    fake.calls.clear();
    fake.sendInputs.clear();
    fake.refreshes.clear();
}

size_t CountCalls(FakeCall kind)
{
    return static_cast<size_t>(
        std::count_if(fake.calls.begin(), fake.calls.end(),
                      [kind](const PlatformCall& c) { return c.call == kind; }));
}

std::string CheckEngineInvariants(uint64_t scheduledFrom)
{
    const KeepAwakeState& s = keepAwake;
    if (!s.active && (s.nextKeyTick != 0 || s.deactivateAt != 0))
        return "inactive engine keeps a schedule or a switch-off time";
    if (s.autoDeactivated && s.active)
        return "autoDeactivated while active";
    if (s.active && s.nextKeyTick < scheduledFrom + 48000)
        return "active engine's next press is less than 48 s after it was scheduled";
    if (s.active && s.nextKeyTick > scheduledFrom + 4320000)
        return "active engine's next press is more than 72 min after it was scheduled";
    return "";
}

uint64_t PlatformGetTickCount64()
{
    Record({CALL_TICK});
    return fake.tickCount;
}

int64_t PlatformTime()
{
    Record({CALL_TIME});
    return fake.calendarTime;
}

UINT PlatformIsDlgButtonChecked(HWND window, int id)
{
    Record({CALL_CHECKBOX, window, id});
    return fake.checkBoxState;
}

UINT PlatformGetDlgItemInt(HWND window, int id, BOOL* translated, BOOL isSigned)
{
    Record({CALL_INTERVAL, window, id, isSigned});
    // Only the unsigned reading is modelled; a signed one never translates.
    return ReadDlgItemUInt(isSigned ? L"" : fake.intervalText, translated);
}

LRESULT PlatformGetPickerTime(HWND window, int id, SYSTEMTIME* value)
{
    Record({CALL_PICKER, window, id});
    // A real picker writes the record only when it holds a time.
    if (fake.pickerAnswer == GDT_VALID)
        *value = fake.pickerValue;
    return fake.pickerAnswer;
}

UINT PlatformSendInput(UINT count, INPUT* inputs, int size)
{
    Record({CALL_SEND_INPUT, nullptr, 0, 0, count, size});
    fake.sendInputs.emplace_back(inputs, inputs + count);
    fake.tickCount += fake.tickStepAfterSendInput;
    return count;
}

void RefreshControls(HWND window)
{
    Record({CALL_REFRESH, window});
    fake.refreshes.push_back(RefreshSnapshot{keepAwake.active, keepAwake.autoDeactivated,
                                             keepAwake.nextKeyTick, keepAwake.deactivateAt});
}
