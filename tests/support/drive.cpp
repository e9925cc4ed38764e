// Starting, finding, driving and measuring a Quillet process from outside.
#include "drive.h"

#include <psapi.h>

#include <cwchar>

#include "main_window_class.h"

const wchar_t kMainWindowClass[] = QUILLET_WINDOW_CLASS;

std::wstring WindowsPath(const wchar_t* path)
{
    std::wstring windows = path;
    for (wchar_t& c : windows)
        c = c == L'/' ? L'\\' : c;
    if (path[0] == L'/')
        windows.insert(0, L"Z:");
    return windows;
}

bool StartProgram(const std::wstring& path, const std::wstring& arguments, Started* started,
                  const STARTUPINFOW* startup, const std::wstring* environment)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW plain = {};
    plain.cb = sizeof plain;
    PROCESS_INFORMATION info = {};
    const DWORD flags = CREATE_NO_WINDOW | (environment ? CREATE_UNICODE_ENVIRONMENT : 0);
    void* block = environment ? const_cast<wchar_t*>(environment->c_str()) : nullptr;
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, block,
                        nullptr, const_cast<STARTUPINFOW*>(startup ? startup : &plain), &info))
        return false;
    started->process = info.hProcess;
    started->thread = info.hThread;
    started->processId = info.dwProcessId;
    started->threadId = info.dwThreadId;
    return true;
}

std::wstring EnvironmentWith(const wchar_t* name, const wchar_t* value)
{
    const std::wstring prefix = std::wstring(name) + L"=";
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        // Names are compared without regard to case, as Windows does.
        if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) != 0)
            block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    if (value != nullptr)
        block.append(prefix).append(value).push_back(L'\0');
    // The block ends with an empty string; c_str() adds the last NUL.
    return block;
}

void ReleaseStarted(Started* started)
{
    if (started->process != nullptr) {
        // A process still running here is a failed test's leftover.
        if (WaitForSingleObject(started->process, 0) == WAIT_TIMEOUT)
            TerminateProcess(started->process, 99);
        CloseHandle(started->process);
    }
    if (started->thread != nullptr)
        CloseHandle(started->thread);
    started->process = nullptr;
    started->thread = nullptr;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
    size_t count;
};

static BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (owner == search->processId && std::wcscmp(className, kMainWindowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindMainWindow(DWORD processId)
{
    WindowSearch search = {processId, nullptr, 0};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        // The window is listed while it is still building its controls in
        // WM_CREATE; it is shown only once they are all there.
        const HWND found = FindMainWindow(processId);
        if (found != nullptr && IsWindowVisible(found))
            return found;
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

std::wstring ReadControlText(HWND window, int id)
{
    wchar_t text[256] = L"";
    SendMessageW(GetDlgItem(window, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND window, int id, const wchar_t* text)
{
    SendMessageW(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ClickButton(HWND window, int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

void SendTick(HWND window) { SendMessageW(window, WM_TIMER, 1, 0); }

void RepaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool CloseAndWait(HWND window, HANDLE process, DWORD timeoutMs, DWORD* exitCode)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process, exitCode) != 0;
}

static BOOL CALLBACK CountChildWindow(HWND, LPARAM param)
{
    ++reinterpret_cast<WindowSearch*>(param)->count;
    return TRUE;
}

static BOOL CALLBACK CountProcessWindows(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) {
        ++search->count;
        EnumChildWindows(window, CountChildWindow, param);
    }
    return TRUE;
}

size_t CountWindows(DWORD processId)
{
    WindowSearch search = {processId, nullptr, 0};
    EnumWindows(CountProcessWindows, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

bool ReadFootprint(HANDLE process, DWORD processId, Footprint* footprint)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return false;
    const uint64_t kernelTime =
        (static_cast<uint64_t>(kernel.dwHighDateTime) << 32) | kernel.dwLowDateTime;
    const uint64_t userTime =
        (static_cast<uint64_t>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
    footprint->cpu100ns = kernelTime + userTime;
    // Wine answers for any process with the caller's own times.
    FILETIME ownKernel, ownUser;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &ownKernel, &ownUser);
    footprint->cpuKnown =
        CompareFileTime(&kernel, &ownKernel) != 0 || CompareFileTime(&user, &ownUser) != 0;

    SetLastError(0);
    footprint->gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    footprint->userObjects = GetGuiResources(process, GR_USEROBJECTS);
    // Wine's GetGuiResources is a stub that answers 0 with this error.
    footprint->guiCountsKnown = GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;

    footprint->windows = CountWindows(processId);

    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof memory))
        return false;
    // Windows reports the private commit in both fields; Wine leaves
    // PrivateUsage 0 and puts the process's resident anonymous memory in
    // PagefileUsage.
    footprint->privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    return true;
}

int NextKeySeconds(const std::wstring& line)
{
    unsigned minutes = 0;
    unsigned seconds = 0;
    wchar_t rest = 0;
    if (std::swscanf(line.c_str(), L"Next F15 in %um %us%lc", &minutes, &seconds, &rest) != 2)
        return -1;
    // Only the exact shape counts: put it back together and compare.
    if (line !=
        L"Next F15 in " + std::to_wstring(minutes) + L"m " + std::to_wstring(seconds) + L"s")
        return -1;
    return static_cast<int>(minutes * 60 + seconds);
}
