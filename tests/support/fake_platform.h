// A scripted stand-in for the window system: tests set what the platform
// answers and read back every call the engine made, in order.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "keep_awake.h"
#include "platform.h"

enum FakeCall {
    CALL_TICK,
    CALL_TIME,
    CALL_CHECKBOX,
    CALL_INTERVAL,
    CALL_PICKER,
    CALL_SEND_INPUT,
    CALL_REFRESH,
};

// One call as the fake saw it: the window and control it named (null and 0
// where it names none) and the arguments that steer it.
struct PlatformCall {
    FakeCall call;
    HWND window = nullptr;
    int id = 0;
    BOOL isSigned = 0; // GetDlgItemInt's reading
    UINT count = 0;    // SendInput's records
    int size = 0;      // SendInput's size of one record
};

bool operator==(const PlatformCall& a, const PlatformCall& b);
// So that a mismatch in a gtest assertion prints each call in full.
void PrintTo(const PlatformCall& call, std::ostream* out);

struct RefreshSnapshot {
    bool active;
    bool autoDeactivated;
    uint64_t nextKeyTick;
    int64_t deactivateAt;
};

struct FakePlatform {
    // What the platform answers.
    uint64_t tickCount;
    uint64_t tickStepAfterSendInput; // lets the clock move while a press is sent
    int64_t calendarTime;
    UINT checkBoxState;
    std::wstring intervalText; // read by ReadDlgItemUInt, as GetDlgItemInt reads it
    LRESULT pickerAnswer;
    SYSTEMTIME pickerValue;
    // What the engine did.
    std::vector<PlatformCall> calls;
    std::vector<std::vector<INPUT>> sendInputs; // the records of each SendInput
    std::vector<RefreshSnapshot> refreshes;
};

extern FakePlatform fake;
extern HWND const kFakeWindow;

// Each call as the engine must make it on kFakeWindow, for expected tables:
// an unsigned read of the interval box, and a press as two INPUT records.
extern const PlatformCall kTickCall, kTimeCall, kCheckBoxCall, kIntervalCall, kPickerCall,
    kPressCall, kRefreshCall;

// Engine off with cleared fields, rng seeded as given, the fake at defaults:
// tick 1,000,000, 2026-12-07 12:50 local time (in zone UTC where the process
// can choose, else in Windows' own), box ticked, interval "5", picker 14:00.
void ResetEngineAndFake(uint32_t seed = 5489);

// Forgets what the engine did so far; the answers stay as they are.
void ClearFakeRecord();

// Count of calls of one kind since the last reset.
size_t CountCalls(FakeCall kind);

// Human-readable failure text when an invariant of the state record is broken,
// empty when all hold. scheduledFrom is the tick the last schedule counted from.
std::string CheckEngineInvariants(uint64_t scheduledFrom);
