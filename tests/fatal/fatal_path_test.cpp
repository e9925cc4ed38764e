// How the program ends when it cannot go on: a probe carrying the program's
// terminate, abort and stack-check handlers is made to die four ways. Each
// must end at once through the system's fast-fail mechanism, and without a
// window: a runtime message box would sit there while its own message loop
// went on dispatching the program's timer, and so pressing keys.
//
// The verdict rests on the probe run as a user runs it, with no debugger:
// newer MinGW-w64 runtimes carry a C++ exception that nothing catches on
// through the process's top-level unhandled-exception filter, and Windows
// does not call that filter while a debugger is attached (such a process
// then ends with GCC's exception status 0x20474343). Only where the path
// reaches int 0x29 without any exception handler (the stack check's failure,
// abort() from std::terminate) is the probe run again as this test's
// debuggee, to read the fast-fail code, which no handler in the process sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "drive.h"
#include "suite_start.h"

namespace {

std::wstring probePath;

// Fast-fail codes (winnt.h) and the status a fast fail ends a process with.
const ULONG_PTR kStackCookieCheckFailure = 2; // FAST_FAIL_STACK_COOKIE_CHECK_FAILURE
const ULONG_PTR kFatalAppExit = 7;            // FAST_FAIL_FATAL_APP_EXIT
const ULONG_PTR kNotRead = ~ULONG_PTR(0);     // the path goes through an uncaught exception
const DWORD kStackBufferOverrun = 0xC0000409; // STATUS_STACK_BUFFER_OVERRUN
// The loader's breakpoint, natively, under WOW64 and for x64 emulated on Arm64:
// handed back to the probe, it could end it before its fast fail.
const DWORD kLoaderBreakpoints[] = {EXCEPTION_BREAKPOINT, 0x4000001F /* STATUS_WX86_BREAKPOINT */,
                                    0x40000038 /* STATUS_EMULATION_BREAKPOINT */};

// Generous for a busy machine: a process that waits on a message box does
// not end at all.
const DWORD kTimeoutMs = 10000;

struct Ending {
    bool ended;          // within the time allowed
    DWORD exitCode;      // the process's exit status
    size_t windowsSeen;  // the most windows the process had at one look
    ULONGLONG elapsedMs; // from start to exit
};

// Runs the probe on its own, looking at its windows until it ends.
Ending RunProbe(const wchar_t* mode)
{
    Ending ending = {false, 0, 0, 0};
    Started probe = {};
    const ULONGLONG start = GetTickCount64();
    if (!StartProgram(probePath, mode, &probe)) {
        ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
        return ending;
    }
    while (GetTickCount64() - start < kTimeoutMs) {
        const size_t windows = CountWindows(probe.processId);
        ending.windowsSeen = windows > ending.windowsSeen ? windows : ending.windowsSeen;
        if (WaitForSingleObject(probe.process, 50) == WAIT_OBJECT_0) {
            ending.ended = true;
            ending.elapsedMs = GetTickCount64() - start;
            GetExitCodeProcess(probe.process, &ending.exitCode);
            break;
        }
    }
    ReleaseStarted(&probe);
    return ending;
}

// Runs the probe as this test's debuggee; the fast-fail code it ends with,
// or kNotRead if the debugger saw no fast fail before the process ended.
ULONG_PTR ReadFastFailCode(const wchar_t* mode)
{
    ULONG_PTR code = kNotRead;
    std::wstring commandLine = L"\"" + probePath + L"\" " + mode;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(probePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot debug the probe, error " << GetLastError();
        return code;
    }
    const ULONGLONG start = GetTickCount64();
    bool ended = false;
    while (!ended && GetTickCount64() - start < kTimeoutMs) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 50))
            continue;
        DWORD answer = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            if (record.ExceptionCode == kStackBufferOverrun && record.NumberParameters >= 1)
                code = record.ExceptionInformation[0];
            // The loader's breakpoint goes on; anything else is the probe's own.
            if (std::find(std::begin(kLoaderBreakpoints), std::end(kLoaderBreakpoints),
                          record.ExceptionCode) == std::end(kLoaderBreakpoints))
                answer = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile != nullptr)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile != nullptr)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            ended = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
    }
    if (!ended) {
        ADD_FAILURE() << "the debugged probe was still running after " << kTimeoutMs << " ms";
        TerminateProcess(info.hProcess, 99);
    }
    DebugActiveProcessStop(info.dwProcessId);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

TEST(FatalPaths, EndAtOnceByFastFailWithoutAWindow)
{
    struct Row {
        const wchar_t* mode;
        const char* what;
        ULONG_PTR fastFail; // read under a debugger; kNotRead where one would change the path
    } rows[] = {
        {L"stack", "a smashed stack", kStackCookieCheckFailure},
        {L"exception", "an exception nobody catches", kNotRead},
        {L"startup", "an exception during static initialisation", kNotRead},
        {L"abort", "abort() called by the C++ runtime's terminate", kFatalAppExit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Ending ending = RunProbe(row.mode);
        ASSERT_TRUE(ending.ended) << "still running after " << kTimeoutMs << " ms";
        std::printf("%s: ended after %llu ms with status 0x%08lX\n", row.what,
                    static_cast<unsigned long long>(ending.elapsedMs), ending.exitCode);
        EXPECT_EQ(kStackBufferOverrun, ending.exitCode);
        EXPECT_EQ(0u, ending.windowsSeen);
        if (row.fastFail != kNotRead) {
            EXPECT_EQ(row.fastFail, ReadFastFailCode(row.mode));
        }
    }
}

} // namespace

int main()
{
    if (!StartSuite("FATAL_PROBE.EXE", {&probePath}))
        return 2;
    return RUN_ALL_TESTS();
}
