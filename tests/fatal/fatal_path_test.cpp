// How the program ends when it cannot go on: a probe carrying the program's
// terminate, abort and stack-check handlers is made to die four ways, under
// this test as its debugger. Each must end at once through the system's
// fast-fail mechanism, with the fast-fail code for its cause, and without a
// window: a runtime message box would sit there while its own message loop
// went on dispatching the program's timer, and so pressing keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "drive.h"
#include "suite_start.h"

namespace {

std::wstring probePath;

// Fast-fail codes (winnt.h) and the status a fast fail ends a process with.
const ULONG_PTR kStackCookieCheckFailure = 2; // FAST_FAIL_STACK_COOKIE_CHECK_FAILURE
const ULONG_PTR kFatalAppExit = 7;            // FAST_FAIL_FATAL_APP_EXIT
const DWORD kStackBufferOverrun = 0xC0000409; // STATUS_STACK_BUFFER_OVERRUN

struct Ending {
    bool ended;          // within the time allowed
    DWORD exitCode;      // the process's exit status
    bool fastFailSeen;   // the debugger saw the fast-fail exception
    ULONG_PTR fastFail;  // its code
    size_t windowsSeen;  // the most windows the process had at one look
    ULONGLONG elapsedMs; // from start to exit
};

// Runs the probe as a debuggee, so that the fast-fail exception, which no
// handler in the process can see, is reported here with its code.
Ending RunProbe(const wchar_t* mode, DWORD timeoutMs)
{
    Ending ending = {false, 0, false, 0, 0, 0};
    std::wstring commandLine = L"\"" + probePath + L"\" " + mode;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const ULONGLONG start = GetTickCount64();
    if (!CreateProcessW(probePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
        return ending;
    }
    while (GetTickCount64() - start < timeoutMs) {
        const size_t windows = CountWindows(info.dwProcessId);
        ending.windowsSeen = windows > ending.windowsSeen ? windows : ending.windowsSeen;
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 50))
            continue;
        DWORD answer = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            if (record.ExceptionCode == kStackBufferOverrun && record.NumberParameters >= 1) {
                ending.fastFailSeen = true;
                ending.fastFail = record.ExceptionInformation[0];
            }
            // The loader's breakpoint goes on; anything else is the probe's own.
            if (record.ExceptionCode != EXCEPTION_BREAKPOINT)
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
            ending.ended = true;
            ending.exitCode = event.u.ExitProcess.dwExitCode;
            ending.elapsedMs = GetTickCount64() - start;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
        if (ending.ended)
            break;
    }
    if (!ending.ended)
        TerminateProcess(info.hProcess, 99);
    DebugActiveProcessStop(info.dwProcessId);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ending;
}

TEST(FatalPaths, EndAtOnceByFastFailWithoutAWindow)
{
    struct Row {
        const wchar_t* mode;
        const char* what;
        ULONG_PTR fastFail;
    } rows[] = {
        {L"stack", "a smashed stack", kStackCookieCheckFailure},
        {L"exception", "an exception nobody catches", kFatalAppExit},
        {L"startup", "an exception during static initialisation", kFatalAppExit},
        {L"abort", "abort() called by the C++ runtime", kFatalAppExit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Generous for a busy machine: a process that waits on a message box
        // does not end at all.
        const Ending ending = RunProbe(row.mode, 10000);
        ASSERT_TRUE(ending.ended) << "still running after 10 s";
        std::printf("%s: ended after %llu ms with status 0x%08lX\n", row.what,
                    static_cast<unsigned long long>(ending.elapsedMs), ending.exitCode);
        EXPECT_EQ(kStackBufferOverrun, ending.exitCode);
        EXPECT_TRUE(ending.fastFailSeen);
        EXPECT_EQ(row.fastFail, ending.fastFail);
        EXPECT_EQ(0u, ending.windowsSeen);
    }
}

} // namespace

int main()
{
    if (!StartSuite("FATAL_PROBE.EXE", {&probePath}))
        return 2;
    return RUN_ALL_TESTS();
}
