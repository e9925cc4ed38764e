// The entry routine's ends: exit code 1 when start-up fails, showing
// nothing; exit code 0 after the window is closed in the real program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_ids.h"
#include "drive.h"
#include "main_window.h"
#include "suite_start.h"

namespace {

struct CbtRecord {
    int creations;         // windows of any class the thread tried to create
    int activations;       // windows about to be activated
    bool refuseMainWindow; // fail the creation of the main window
};
CbtRecord cbt = {};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        ++cbt.creations;
        if (cbt.refuseMainWindow && ClassOf(reinterpret_cast<HWND>(wParam)) == kMainWindowClass)
            return 1; // a non-zero answer makes CreateWindowExW fail
    }
    if (code == HCBT_ACTIVATE)
        ++cbt.activations;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int RunWinMainWatched(bool refuseMainWindow)
{
    cbt = {0, 0, refuseMainWindow};
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    EXPECT_NE(nullptr, hook);
    wchar_t commandLine[] = L"";
    const int code = wWinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    UnhookWindowsHookEx(hook);
    return code;
}

// From the command line: the built program.
std::wstring programPath;

struct Program {
    Started started;
    HWND window;
};

// Starts the program and waits up to 10 s for its window to be shown.
bool Launch(Program* program, const STARTUPINFOW* startup)
{
    *program = {};
    if (!StartProgram(programPath, L"", &program->started, startup))
        return false;
    program->window = WaitForMainWindow(program->started.processId, 10000);
    return program->window != nullptr;
}

// Asks the window to close, as the caption's close button does, and
// returns the exit code, or 259 (STILL_ACTIVE) when it has not ended in 5 s.
DWORD Close(Program* program)
{
    DWORD code = STILL_ACTIVE;
    if (!CloseAndWait(program->window, program->started.process, 5000, &code))
        code = STILL_ACTIVE;
    ReleaseStarted(&program->started);
    return code;
}

} // namespace

TEST(WinMainTest, ClassAlreadyRegisteredReturnsOne)
{
    WNDCLASSEXW taken = {};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = DefWindowProcW;
    taken.hInstance = GetModuleHandleW(nullptr);
    taken.lpszClassName = kMainWindowClass;
    ASSERT_NE(0, RegisterClassExW(&taken));
    EXPECT_EQ(1, RunWinMainWatched(false));
    EXPECT_EQ(0, cbt.creations);
    EXPECT_EQ(0, cbt.activations);
    EXPECT_EQ(nullptr, FindMainWindow(GetCurrentProcessId()));
    EXPECT_TRUE(UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr)));
}

TEST(WinMainTest, WindowCreationFailureReturnsOne)
{
    EXPECT_EQ(1, RunWinMainWatched(true));
    // The one refused attempt, and nothing made or shown after it.
    EXPECT_EQ(1, cbt.creations);
    EXPECT_EQ(0, cbt.activations);
    EXPECT_EQ(nullptr, FindMainWindow(GetCurrentProcessId()));
    // A refused creation sends no WM_DESTROY: no quit message is posted and
    // the fonts stay; the process would end right after.
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(titleFont));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(bodyFont));
    // The class was registered before the window failed.
    EXPECT_TRUE(UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr)));
}

TEST(ProgramStartTest, ClosingTheWindowExitsWithZero)
{
    Program program;
    ASSERT_TRUE(Launch(&program, nullptr))
        << "no window from " << testing::PrintToString(programPath);
    RECT client = {};
    EXPECT_TRUE(GetClientRect(program.window, &client));
    EXPECT_EQ(480, client.right);
    EXPECT_EQ(310, client.bottom);
    EXPECT_FALSE(IsIconic(program.window));
    // The program declares itself aware of the system DPI: Windows 10 1607
    // and later report that of another process's window; Wine 8 reports
    // per-monitor awareness for the same call. Unaware would be 0.
    using AwarenessOfWindow = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using AwarenessOfContext = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto ofWindow = reinterpret_cast<AwarenessOfWindow>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto ofContext = reinterpret_cast<AwarenessOfContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (ofWindow != nullptr && ofContext != nullptr) {
        const DPI_AWARENESS awareness = ofContext(ofWindow(program.window));
        EXPECT_TRUE(awareness == DPI_AWARENESS_SYSTEM_AWARE ||
                    awareness == DPI_AWARENESS_PER_MONITOR_AWARE)
            << "DPI awareness " << awareness;
    }
    EXPECT_EQ(0u, Close(&program));
}

TEST(ProgramStartTest, StartsMinimizedWhenTheStartupInfoSaysSo)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    Program program;
    ASSERT_TRUE(Launch(&program, &startup));
    EXPECT_TRUE(IsIconic(program.window));
    EXPECT_EQ(0u, Close(&program));
}

TEST(ProgramStartTest, TwoCopiesRunAndCloseIndependently)
{
    Program first;
    Program second;
    ASSERT_TRUE(Launch(&first, nullptr));
    ASSERT_TRUE(Launch(&second, nullptr));
    // Each copy seeds its generator from the system: five draws, read back
    // from the countdown at 60 minutes (36 s a percent), differ between the
    // copies and from a fixed seed's (5489); the other copy stays off meanwhile.
    std::vector<int> drawn[2];
    for (int copy = 0; copy < 2; ++copy) {
        HWND window = copy == 0 ? first.window : second.window;
        HWND other = copy == 0 ? second.window : first.window;
        SetControlText(window, IDC_INTERVAL, L"60");
        for (int i = 0; i < 5; ++i) {
            ClickButton(window, IDC_ACTIVATE);
            EXPECT_EQ(L"INACTIVE", ReadControlText(other, IDC_STATE_LABEL));
            const int seconds = NextKeySeconds(ReadControlText(window, IDC_NEXT_KEY_LABEL));
            drawn[copy].push_back((seconds + 18) / 36);
            EXPECT_TRUE(drawn[copy].back() >= 80 && drawn[copy].back() <= 120) << seconds << " s";
            ClickButton(window, IDC_DEACTIVATE);
        }
    }
    EXPECT_NE(drawn[0], drawn[1]);
    for (const std::vector<int>& copy : drawn)
        EXPECT_NE(std::vector<int>({113, 85, 117, 114, 85}), copy);
    EXPECT_EQ(0u, Close(&first));
    EXPECT_TRUE(IsWindow(second.window));
    EXPECT_EQ(0u, Close(&second));
}

// ctest passes the built program after GoogleTest's flags.
int main()
{
    if (!StartSuite("QUILLET.EXE", {&programPath}))
        return 2;
    return RUN_ALL_TESTS();
}
