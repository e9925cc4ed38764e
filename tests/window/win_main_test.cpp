// The entry routine's ends: exit code 1 when start-up fails, showing
// nothing; exit code 0 after the window is closed in the real program.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "main_window.h"

namespace {

const wchar_t kClassName[] = L"QuilletVigiloWindow";

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
        if (cbt.refuseMainWindow && ClassOf(reinterpret_cast<HWND>(wParam)) == kClassName)
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

// Quillet.exe sits at the top of the build tree; this test a few levels down.
std::wstring ProgramPath()
{
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own);
    path.resize(path.find_last_of(L"\\/") + 1);
    std::wstring relative = QUILLET_EXE_RELATIVE;
    for (wchar_t& c : relative)
        if (c == L'/')
            c = L'\\';
    return path + relative;
}

struct Program {
    PROCESS_INFORMATION process;
    HWND window;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == kClassName) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the program and waits up to 10 s for its window to be shown.
bool StartProgram(Program* program, const STARTUPINFOW* startup)
{
    STARTUPINFOW plain = {};
    plain.cb = sizeof(plain);
    std::wstring path = ProgramPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    *program = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        const_cast<STARTUPINFOW*>(startup ? startup : &plain), &program->process))
        return false;
    for (int i = 0; i < 100 && program->window == nullptr; ++i) {
        WindowSearch search = {program->process.dwProcessId, nullptr};
        EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && IsWindowVisible(search.found))
            program->window = search.found;
        else
            Sleep(100);
    }
    return program->window != nullptr;
}

// Asks the window to close, as the caption's close button does, and
// returns the exit code, or 259 (STILL_ACTIVE) when it has not ended in 5 s.
DWORD CloseProgram(Program* program)
{
    PostMessageW(program->window, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(program->process.hProcess, 5000) == WAIT_OBJECT_0)
        GetExitCodeProcess(program->process.hProcess, &code);
    else
        TerminateProcess(program->process.hProcess, 99);
    CloseHandle(program->process.hThread);
    CloseHandle(program->process.hProcess);
    return code;
}

} // namespace

TEST(WinMainTest, ClassAlreadyRegisteredReturnsOne)
{
    WNDCLASSEXW taken = {};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = DefWindowProcW;
    taken.hInstance = GetModuleHandleW(nullptr);
    taken.lpszClassName = kClassName;
    ASSERT_NE(0, RegisterClassExW(&taken));
    EXPECT_EQ(1, RunWinMainWatched(false));
    // Step one ran before the registration failed.
    EXPECT_TRUE(IsProcessDPIAware());
    EXPECT_EQ(0, cbt.creations);
    EXPECT_EQ(0, cbt.activations);
    EXPECT_EQ(nullptr, FindWindowW(kClassName, nullptr));
    EXPECT_TRUE(UnregisterClassW(kClassName, GetModuleHandleW(nullptr)));
}

TEST(WinMainTest, WindowCreationFailureReturnsOne)
{
    EXPECT_EQ(1, RunWinMainWatched(true));
    // The one refused attempt, and nothing made or shown after it.
    EXPECT_EQ(1, cbt.creations);
    EXPECT_EQ(0, cbt.activations);
    EXPECT_EQ(nullptr, FindWindowW(kClassName, nullptr));
    // A refused creation sends no WM_DESTROY: no quit message is posted and
    // the fonts stay; the process would end right after.
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(titleFont));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(bodyFont));
    // The class was registered before the window failed.
    EXPECT_TRUE(UnregisterClassW(kClassName, GetModuleHandleW(nullptr)));
}

TEST(WinMainTest, ClosingTheWindowExitsWithZero)
{
    Program program;
    ASSERT_TRUE(StartProgram(&program, nullptr))
        << "no window from " << testing::PrintToString(ProgramPath());
    RECT client = {};
    EXPECT_TRUE(GetClientRect(program.window, &client));
    EXPECT_EQ(480, client.right);
    EXPECT_EQ(310, client.bottom);
    EXPECT_FALSE(IsIconic(program.window));
    EXPECT_EQ(0u, CloseProgram(&program));
}

TEST(WinMainTest, StartsMinimizedWhenTheStartupInfoSaysSo)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    Program program;
    ASSERT_TRUE(StartProgram(&program, &startup));
    EXPECT_TRUE(IsIconic(program.window));
    EXPECT_EQ(0u, CloseProgram(&program));
}

TEST(WinMainTest, TwoCopiesRunAndCloseIndependently)
{
    Program first;
    Program second;
    ASSERT_TRUE(StartProgram(&first, nullptr));
    ASSERT_TRUE(StartProgram(&second, nullptr));
    EXPECT_NE(first.window, second.window);
    // A click in one copy leaves the other as it was.
    SendMessageW(GetDlgItem(first.window, 1001), BM_CLICK, 0, 0);
    wchar_t state[32] = {};
    GetDlgItemTextW(first.window, 1005, state, 32);
    EXPECT_EQ(std::wstring(L"ACTIVE"), std::wstring(state));
    GetDlgItemTextW(second.window, 1005, state, 32);
    EXPECT_EQ(std::wstring(L"INACTIVE"), std::wstring(state));
    EXPECT_EQ(0u, CloseProgram(&first));
    EXPECT_TRUE(IsWindow(second.window));
    EXPECT_EQ(0u, CloseProgram(&second));
}
