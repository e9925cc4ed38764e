// A scripted stand-in for the window system: tests set what the platform
// answers and read back every call the engine made, in order.
#pragma once

#include <cstdint>
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

struct SendInputCall {
    UINT count;
    int size;
    std::vector<INPUT> inputs;
};

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
    std::vector<FakeCall> calls;
    std::vector<SendInputCall> sendInputs;
    std::vector<RefreshSnapshot> refreshes;
    std::vector<int> controlIds; // the id each control call named
    std::vector<HWND> windows;   // the window each call named
};

extern FakePlatform fake;

// Engine off with cleared fields, rng seeded as given, the fake at defaults:
// tick 1,000,000, 2026-12-07 12:50 UTC in zone UTC, box ticked, interval "5",
// picker 14:00.
void ResetEngineAndFake(uint32_t seed = 5489);

// Forgets what the engine did so far; the answers stay as they are.
void ClearFakeRecord();

// Count of calls of one kind since the last reset.
size_t CountCalls(FakeCall kind);

// Human-readable failure text when an invariant of the state record is broken,
// empty when all hold. scheduledFrom is the tick the last schedule counted from.
std::string CheckEngineInvariants(uint64_t scheduledFrom);

extern HWND const kFakeWindow;
