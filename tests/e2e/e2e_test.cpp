// The real Quillet.exe seen from outside: a key recorder in another process
// hears the one F15 press, a second copy stays off, and both close cleanly.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control_ids.h"
#include "drive.h"
#include "suite_start.h"

namespace {

std::wstring programPath;
std::wstring recorderPath;

// One line of the recorder's file.
struct KeyEvent {
    uint64_t tick;
    DWORD vk;
    DWORD flags;
    unsigned message;
};

struct RecorderLog {
    bool ready;
    std::vector<KeyEvent> keys;
};

RecorderLog ReadRecorderLog(const std::wstring& path)
{
    RecorderLog log = {false, {}};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return log;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);

    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        unsigned long long tick = 0;
        unsigned long vk = 0, scan = 0, flags = 0;
        unsigned message = 0;
        if (line.compare(0, 6, "ready ") == 0)
            log.ready = true;
        else if (std::sscanf(line.c_str(), "key %llu %lu %lu %lu %u", &tick, &vk, &scan, &flags,
                             &message) == 5)
            log.keys.push_back({tick, vk, flags, message});
    }
    return log;
}

std::wstring TempFilePath()
{
    wchar_t directory[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    GetTempFileNameW(directory, L"qkr", 0, path);
    return path;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The inactive window's three status texts, with the check box ticked.
void ExpectInactiveTexts(HWND window)
{
    EXPECT_EQ(L"INACTIVE", ReadControlText(window, IDC_STATE_LABEL));
    EXPECT_EQ(L"No key events are being sent.", ReadControlText(window, IDC_NEXT_KEY_LABEL));
    EXPECT_EQ(L"Auto-deactivate will start with the next activation.",
              ReadControlText(window, IDC_AUTO_LABEL));
}

class QuilletEndToEnd : public ::testing::Test {
  protected:
    void TearDown() override
    {
        if (recorder.process != nullptr)
            PostThreadMessageW(recorder.threadId, WM_QUIT, 0, 0);
        ReleaseStarted(&first);
        ReleaseStarted(&second);
        if (recorder.process != nullptr)
            WaitForSingleObject(recorder.process, 5000);
        ReleaseStarted(&recorder);
        if (!logPath.empty())
            DeleteFileW(logPath.c_str());
    }

    Started recorder = {};
    Started first = {};
    Started second = {};
    std::wstring logPath;
};

TEST_F(QuilletEndToEnd, OneInjectedF15PressPerIntervalSecondCopyStaysOffBothCloseCleanly)
{
    logPath = TempFilePath();
    ASSERT_TRUE(StartProgram(recorderPath, L"\"" + logPath + L"\"", &recorder));
    const ULONGLONG readyBy = GetTickCount64() + 20000;
    while (!ReadRecorderLog(logPath).ready && GetTickCount64() < readyBy)
        Sleep(50);
    ASSERT_TRUE(ReadRecorderLog(logPath).ready) << "the key recorder did not install its hook";

    ASSERT_TRUE(StartProgram(programPath, L"", &first));
    const HWND main = WaitForMainWindow(first.processId, 20000);
    ASSERT_NE(nullptr, main) << "no QuilletVigiloWindow from the first copy";

    ASSERT_TRUE(StartProgram(programPath, L"", &second));
    const HWND other = WaitForMainWindow(second.processId, 20000);
    ASSERT_NE(nullptr, other) << "no QuilletVigiloWindow from the second copy";
    ASSERT_NE(main, other);

    SetControlText(main, IDC_INTERVAL, L"1");

    const ULONGLONG beforeClick = GetTickCount64();
    ClickButton(main, IDC_ACTIVATE);
    const ULONGLONG afterClick = GetTickCount64();
    EXPECT_EQ(L"ACTIVE", ReadControlText(main, IDC_STATE_LABEL));
    const std::wstring firstCountdown = ReadControlText(main, IDC_NEXT_KEY_LABEL);
    const int firstWait = NextKeySeconds(firstCountdown);
    EXPECT_LE(48, firstWait) << Narrow(firstCountdown);
    EXPECT_GE(72, firstWait) << Narrow(firstCountdown);
    std::printf("after the click: \"%s\"\n", Narrow(firstCountdown).c_str());

    // The press is due 48 to 72 s after the click and comes at the first
    // one-second tick at or after that, so by 73 s. A busy machine delays
    // window timers: a few seconds more are allowed.
    const ULONGLONG latest = afterClick + 73000 + 5000;
    RecorderLog log = ReadRecorderLog(logPath);
    while (log.keys.size() < 2 && GetTickCount64() < latest + 2000) {
        Sleep(100);
        log = ReadRecorderLog(logPath);
    }
    const ULONGLONG seen = GetTickCount64();
    const std::wstring restarted = ReadControlText(main, IDC_NEXT_KEY_LABEL);
    const ULONGLONG restartedRead = GetTickCount64();
    const std::wstring otherState = ReadControlText(other, IDC_STATE_LABEL);

    ASSERT_EQ(2u, log.keys.size()) << "key events heard within 80 s of the click";
    const KeyEvent& down = log.keys[0];
    const KeyEvent& up = log.keys[1];
    std::printf("F15 down %llu ms and up %llu ms after the click, seen after %llu ms\n",
                static_cast<unsigned long long>(down.tick - beforeClick),
                static_cast<unsigned long long>(up.tick - beforeClick),
                static_cast<unsigned long long>(seen - beforeClick));
    EXPECT_EQ(static_cast<DWORD>(VK_F15), down.vk);
    EXPECT_EQ(static_cast<unsigned>(WM_KEYDOWN), down.message);
    EXPECT_EQ(static_cast<DWORD>(LLKHF_INJECTED), down.flags & (LLKHF_INJECTED | LLKHF_UP));
    EXPECT_EQ(static_cast<DWORD>(VK_F15), up.vk);
    EXPECT_EQ(static_cast<unsigned>(WM_KEYUP), up.message);
    EXPECT_EQ(static_cast<DWORD>(LLKHF_INJECTED | LLKHF_UP),
              up.flags & (LLKHF_INJECTED | LLKHF_UP));
    EXPECT_LE(beforeClick + 48000, down.tick) << "F15 came too early";
    EXPECT_GE(latest, up.tick) << "F15 came too late";
    EXPECT_LE(down.tick, up.tick);

    // The countdown restarts from a fresh 48..72 s wait. The label is
    // rewritten each second, so a read later than the press tick may show
    // up to that many seconds less.
    const int restartedWait = NextKeySeconds(restarted);
    const int lateSeconds = static_cast<int>((restartedRead - down.tick) / 1000);
    std::printf("right after the press (%d s late): \"%s\"\n", lateSeconds,
                Narrow(restarted).c_str());
    EXPECT_LE(48 - lateSeconds, restartedWait) << Narrow(restarted);
    EXPECT_GE(72, restartedWait) << Narrow(restarted);
    EXPECT_EQ(L"INACTIVE", otherState) << "the second copy switched itself on";

    ClickButton(main, IDC_DEACTIVATE);
    {
        SCOPED_TRACE("first copy after Deactive");
        ExpectInactiveTexts(main);
    }
    {
        SCOPED_TRACE("second copy at the end, as it started: never clicked");
        ExpectInactiveTexts(other);
    }

    DWORD firstExit = 99;
    DWORD secondExit = 99;
    EXPECT_TRUE(CloseAndWait(main, first.process, 5000, &firstExit))
        << "first copy still running 5 s after WM_CLOSE";
    EXPECT_EQ(0u, firstExit);
    EXPECT_TRUE(CloseAndWait(other, second.process, 5000, &secondExit))
        << "second copy still running 5 s after WM_CLOSE";
    EXPECT_EQ(0u, secondExit);

    // Nothing else in all: the recorder heard exactly the one pair.
    PostThreadMessageW(recorder.threadId, WM_QUIT, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(recorder.process, 5000));
    EXPECT_EQ(2u, ReadRecorderLog(logPath).keys.size()) << "key events heard in the whole run";
}

} // namespace

int main()
{
    if (!StartSuite("QUILLET.EXE KEY_RECORDER.EXE", {&programPath, &recorderPath}))
        return 2;
    return RUN_ALL_TESTS();
}
