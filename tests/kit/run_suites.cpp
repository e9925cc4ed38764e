// The test kit's runner, started by run-tests.cmd: runs each suite beside it
// in a job of its own, under a time limit, and judges it by its exit status
// alone. cmd can do neither: it holds a crash status as a negative number,
// which "if errorlevel 1" takes for success, and it cannot stop a program
// that hangs or waits behind an error-reporting dialog. The suites start
// without GoogleTest's environment variables, which could make them run
// nothing and pass.
//
// run_suites [--timeout SECONDS] [--desktop | --headless] [--logs FOLDER] [QUILLET.EXE]
// Exit code 0 when nothing failed, 1 on any failure or refusal, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "main_window_class.h"

namespace {

struct Suite {
    const wchar_t* name;     // also its file name, with ".exe"
    bool takesProgram;       // the Quillet.exe under test is its first argument
    const wchar_t* kitFile;  // a file of the kit it takes next, or null
    bool needsDesktop;       // shows windows or injects and hears keys
    bool drivesProgram;      // judges the program from outside only
    const wchar_t* onlyThat; // the GoogleTest filter for judging another build
};

// clang-format off
const Suite kSuites[] = {
    {L"engine_tests",       false, nullptr,              false, false, nullptr},
    {L"window_tests",       false, nullptr,              true,  false, nullptr},
    {L"win_main_tests",     true,  nullptr,              true,  true,  L"--gtest_filter=ProgramStart*"},
    {L"resources_tests",    true,  L"quillet.ico",       false, true,  nullptr},
    {L"fatal_path_tests",   false, L"fatal_probe.exe",   false, false, nullptr},
    {L"quillet_zone_tests", true,  nullptr,              true,  true,  nullptr},
    {L"quillet_e2e_tests",  true,  L"key_recorder.exe",  true,  true,  nullptr},
    {L"quillet_leak_tests", true,  nullptr,              true,  true,  nullptr},
};
// clang-format on

// How a suite's exit status reads, where a name helps a person.
const struct {
    DWORD status;
    const wchar_t* meaning;
} kStatusNames[] = {
    {1, L"tests failed"},
    {2, L"bad arguments"},
    {3, L"abort() called"},
    {0x80000003, L"breakpoint"},
    {0xC0000005, L"access violation"},
    {0xC00000FD, L"stack overflow"},
    {0xC0000135, L"a DLL was not found"},
    {0xC0000142, L"a DLL failed to start"},
    {0xC0000409, L"fast fail"},
    {0xC000013A, L"stopped with Ctrl+C"},
    {0xC0000374, L"heap corruption"},
};

// What GoogleTest reads from the environment to pick which tests run, how
// often, or where a pass is recorded: from whoever starts the kit, any of
// these could make every suite run nothing and exit 0. None reaches a suite.
const struct {
    const wchar_t* name;
    bool prefix; // every variable whose name starts with it
} kHiddenFromSuites[] = {
    {L"GTEST_", true}, // every flag, the shards and the shard status file
    {L"TESTBRIDGE_TEST_ONLY", false},
    {L"TESTBRIDGE_TEST_RUNNER_FAIL_FAST", false},
    {L"XML_OUTPUT_FILE", false},
    {L"TEST_PREMATURE_EXIT_FILE", false},
};

enum Desktop { kDesktopAsFound, kDesktopForced, kHeadlessForced };

// What every suite of one run shares.
struct KitRun {
    std::wstring kit;     // the folder of the kit, with a trailing backslash
    std::wstring program; // the Quillet.exe under test
    bool otherProgram;    // not the kit's own Quillet.exe
    std::wstring logs;    // the folder for each suite's output
    DWORD timeoutSeconds;
    std::wstring environment; // the block each suite starts with
};

struct Options {
    DWORD timeoutSeconds = 600;
    Desktop desktop = kDesktopAsFound;
    std::wstring logs;
    std::wstring program;
};

// Text out in the console's own characters, or as UTF-8 into a pipe or file.
void Print(const std::wstring& text)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size,
                        nullptr, nullptr);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring Hex(DWORD value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", value);
    return text;
}

std::wstring HowItEnded(DWORD status)
{
    std::wstring text = L"exit status " + Hex(status);
    for (const auto& known : kStatusNames) {
        if (known.status == status)
            text += L", " + std::wstring(known.meaning);
    }
    return text;
}

// Why CreateProcessW refused, in the words a person needs.
std::wstring WhyNotStarted(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"file missing";
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        return L"not a program for this machine";
    case ERROR_ACCESS_DENIED:
        return L"access denied (held by a security tool?)";
    case 225: // ERROR_VIRUS_INFECTED, missing from MinGW's headers
    case 226: // ERROR_VIRUS_DELETED
        return L"blocked by antivirus";
    default:
        return L"error " + std::to_wstring(error);
    }
}

std::wstring ModuleFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), size, &full[0], nullptr));
    return full;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Quillet's version block names it; any other program, or none, is not it.
bool IsQuillet(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\InternalName", &value,
                        &length) ||
        length == 0)
        return false;
    return std::wcscmp(static_cast<const wchar_t*>(value), L"Quillet") == 0;
}

// A window station a person could see: services and some hosted machines
// run without one.
bool HasVisibleWindowStation()
{
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                     &needed) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

std::wstring ObjectName(HANDLE object)
{
    wchar_t name[256] = L"";
    DWORD needed = 0;
    if (!GetUserObjectInformationW(object, UOI_NAME, name, sizeof name, &needed))
        return L"";
    return name;
}

// Keys and clicks go to the input desktop: when that is not ours (a locked
// session's or the sign-in screen's, or none while a remote session is
// disconnected), what the suites inject is lost though WinSta0 is visible.
bool InputDesktopIsOurs()
{
    const HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (input == nullptr)
        return false;
    const std::wstring inputName = ObjectName(input);
    CloseDesktop(input);
    return !inputName.empty() &&
           _wcsicmp(inputName.c_str(),
                    ObjectName(GetThreadDesktop(GetCurrentThreadId())).c_str()) == 0;
}

// Why the suites that need a desktop cannot run, or null when they can.
const wchar_t* WhyNoDesktop(Desktop asked)
{
    if (asked == kDesktopForced)
        return nullptr;
    if (asked == kHeadlessForced)
        return L"headless, as asked";
    if (!HasVisibleWindowStation())
        return L"no interactive desktop";
    if (!InputDesktopIsOurs())
        return L"the desktop takes no input: locked or disconnected";
    return nullptr;
}

bool HiddenFromSuites(const std::wstring& name)
{
    for (const auto& hidden : kHiddenFromSuites) {
        const size_t length = std::wcslen(hidden.name);
        // Windows' names are the same in any case, and so is the C runtime's getenv.
        if ((hidden.prefix ? name.size() >= length : name.size() == length) &&
            _wcsnicmp(name.c_str(), hidden.name, length) == 0)
            return true;
    }
    return false;
}

// This process's environment without what GoogleTest would read, as a
// block for CreateProcessW: each "NAME=value" ends in a null, the block in
// another. Removing entries keeps the order Windows sorted them in.
std::wstring EnvironmentForSuites()
{
    wchar_t* const strings = GetEnvironmentStringsW();
    if (strings == nullptr)
        return std::wstring(2, L'\0');
    std::wstring block;
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const std::wstring text = entry;
        // The hidden "=C:=C:\..." entries that keep each drive's folder start with '='.
        if (!HiddenFromSuites(text.substr(0, text.find(L'=', 1))))
            block.append(text).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    if (block.empty())
        block.push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// Makes the folder and any missing parents; true if it is there afterwards.
bool MakeFolder(const std::wstring& path)
{
    for (size_t at = path.find_first_of(L"\\/", 3); at != std::wstring::npos;
         at = path.find_first_of(L"\\/", at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A fresh folder under %TEMP%, so that runs never mix their output.
std::wstring MakeLogFolder()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return L"";
    for (ULONGLONG attempt = GetTickCount64(), tries = 0; tries < 100; ++attempt, ++tries) {
        const std::wstring folder = std::wstring(temp) + L"quillet-tests-" +
                                    std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(attempt % 1000000);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return folder;
    }
    return L"";
}

bool ParseOptions(int argc, wchar_t** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--timeout" && i + 1 < argc) {
            wchar_t* end = nullptr;
            const unsigned long seconds = std::wcstoul(argv[++i], &end, 10);
            if (*end != L'\0' || seconds == 0 || seconds > 86400)
                return false;
            options->timeoutSeconds = static_cast<DWORD>(seconds);
        } else if (arg == L"--desktop") {
            options->desktop = kDesktopForced;
        } else if (arg == L"--headless") {
            options->desktop = kHeadlessForced;
        } else if (arg == L"--logs" && i + 1 < argc) {
            options->logs = argv[++i];
        } else if (arg.rfind(L"--", 0) != 0 && options->program.empty() && !arg.empty()) {
            options->program = arg;
        } else {
            return false;
        }
    }
    return true;
}

// One argument on a command line, quoted as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& arg)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE OpenInheritable(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A job that ends every process in it when closed, and takes the crash
// dialog away from each of them.
HANDLE CreateSuiteJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// Windows ends a job's processes after TerminateJobObject returns; how long
// they may take before the next suite starts regardless.
const DWORD kJobEndMilliseconds = 10000;

// How many processes the job still holds, or -1 when the system cannot say.
long ProcessesInJob(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                   sizeof accounting, nullptr))
        return -1;
    return static_cast<long>(accounting.ActiveProcesses);
}

// Ends what the job holds and waits until it is empty, so that no window or
// key of this suite's meets the next one. Returns how many processes are
// left (-1: cannot tell).
long EndJob(HANDLE job)
{
    TerminateJobObject(job, ERROR_TIMEOUT);
    const ULONGLONG started = GetTickCount64();
    long left = ProcessesInJob(job);
    while (left > 0 && GetTickCount64() - started < kJobEndMilliseconds) {
        Sleep(20);
        left = ProcessesInJob(job);
    }
    return left;
}

// The suite's output goes to its log file; where that cannot be made, to
// NUL, and the suite runs all the same.
HANDLE OpenLog(const std::wstring& path, std::vector<std::wstring>* said)
{
    const HANDLE log = OpenInheritable(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (log != INVALID_HANDLE_VALUE)
        return log;
    said->push_back(L"no log: cannot create " + path + L", error " +
                    std::to_wstring(GetLastError()));
    return OpenInheritable(L"NUL", GENERIC_WRITE, OPEN_EXISTING);
}

std::wstring CommandLine(const Suite& suite, const KitRun& run)
{
    std::wstring commandLine = Quoted(run.kit + suite.name + L".exe");
    if (run.otherProgram && suite.onlyThat != nullptr)
        commandLine += L" " + std::wstring(suite.onlyThat);
    if (suite.takesProgram)
        commandLine += L" " + Quoted(run.program);
    if (suite.kitFile != nullptr)
        commandLine += L" " + Quoted(run.kit + suite.kitFile);
    return commandLine;
}

// Runs one suite with its output in its log file. Says how it ended when it
// failed, and anything else a person should know either way. True if it passed.
bool RunSuite(const Suite& suite, const KitRun& run, std::vector<std::wstring>* said)
{
    const std::wstring exe = run.kit + suite.name + L".exe";
    if (!IsFile(exe)) {
        said->push_back(L"cannot start: file missing, " + exe);
        return false;
    }
    std::wstring commandLine = CommandLine(suite, run);
    const HANDLE log = OpenLog(run.logs + L"\\" + suite.name + L".txt", said);
    const HANDLE nothing = OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = log;
    startup.hStdError = log;
    PROCESS_INFORMATION started = {};
    // Suspended until it is in its job, so that all it starts is in there too.
    const BOOL ok = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                   CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT,
                                   const_cast<wchar_t*>(run.environment.c_str()), run.kit.c_str(),
                                   &startup, &started);
    const DWORD error = GetLastError();
    CloseHandle(log);
    CloseHandle(nothing);
    if (!ok) {
        said->insert(said->begin(), L"cannot start: " + WhyNotStarted(error));
        return false;
    }
    const HANDLE job = CreateSuiteJob();
    const bool inJob = job != nullptr && AssignProcessToJobObject(job, started.hProcess);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);

    bool passed = false;
    if (WaitForSingleObject(started.hProcess, run.timeoutSeconds * 1000) == WAIT_TIMEOUT) {
        said->insert(said->begin(),
                     L"timed out after " + std::to_wstring(run.timeoutSeconds) + L" s, stopped");
        if (!inJob)
            TerminateProcess(started.hProcess, ERROR_TIMEOUT);
    } else {
        DWORD status = 0;
        GetExitCodeProcess(started.hProcess, &status);
        passed = status == 0;
        if (!passed)
            said->insert(said->begin(), HowItEnded(status));
    }
    // Whatever the suite left running ends with it.
    if (inJob) {
        const long left = EndJob(job);
        if (left > 0)
            said->push_back(std::to_wstring(left) + L" of its processes could not be stopped");
        if (left < 0)
            said->push_back(L"cannot tell whether what it started has ended");
    } else {
        said->push_back(L"not in a job: what it started may still run");
    }
    if (job != nullptr)
        CloseHandle(job);
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
    return passed;
}

std::wstring InParentheses(const std::vector<std::wstring>& said)
{
    std::wstring text;
    for (const std::wstring& part : said)
        text += (text.empty() ? L" (" : L"; ") + part;
    return text.empty() ? text : text + L")";
}

// A double-click runs "cmd /c" on run-tests.cmd, whose window closes when
// the script ends; run-tests.cmd passes cmd's command line on. Not in CI,
// and only with a console a person can see: a scheduled task's is hidden,
// and nobody would ever press the key.
bool StartedByDoubleClick()
{
    const HWND console = GetConsoleWindow();
    if (console == nullptr || !IsWindowVisible(console))
        return false;
    wchar_t commandLine[4096] = L"";
    if (GetEnvironmentVariableW(L"QUILLET_KIT_CMDLINE", commandLine, 4096) == 0 ||
        GetEnvironmentVariableW(L"CI", nullptr, 0) != 0)
        return false;
    for (wchar_t& c : commandLine)
        c = static_cast<wchar_t>(std::towlower(c));
    DWORD mode = 0;
    return std::wcsstr(commandLine, L" /c ") != nullptr &&
           std::wcsstr(commandLine, L"run-tests.cmd") != nullptr &&
           GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
}

void WaitForAKey()
{
    Print(L"Press any key to close this window.\n");
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(in);
    INPUT_RECORD record = {};
    DWORD read = 0;
    while (ReadConsoleInputW(in, &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown)
            return;
    }
}

int Run(int argc, wchar_t** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        Print(L"usage: run-tests.cmd [--timeout SECONDS] [--desktop | --headless] "
              L"[--logs FOLDER] [PATH\\TO\\Quillet.exe]\n");
        return 2;
    }
    const std::wstring kit = ModuleFolder();
    const bool otherProgram = !options.program.empty();
    const std::wstring program = otherProgram ? FullPath(options.program) : kit + L"Quillet.exe";
    if (otherProgram && !IsFile(program)) {
        Print(L"No such program: " + program + L"\n");
        return 1;
    }
    if (otherProgram && !IsQuillet(program)) {
        Print(L"Not Quillet (its version block does not name it): " + program + L"\n");
        return 1;
    }
    // The end-to-end suites hear every key on the desktop: another copy's
    // presses would be taken for the one under test.
    if (FindWindowW(QUILLET_WINDOW_CLASS, nullptr) != nullptr) {
        Print(L"Quillet is running: close every Quillet window, then run the tests again.\n");
        return 1;
    }
    const wchar_t* const whyNoDesktop = WhyNoDesktop(options.desktop);
    if (whyNoDesktop != nullptr)
        Print(L"Only the suites that need no desktop run: " + std::wstring(whyNoDesktop) + L".\n");
    if (otherProgram)
        Print(L"Judging " + program + L"\n");

    const std::wstring logs = options.logs.empty() ? MakeLogFolder() : FullPath(options.logs);
    if (logs.empty() || !MakeFolder(logs)) {
        Print(L"Cannot make a folder for the suites' output: " + logs + L"\n");
        return 1;
    }
    const KitRun run = {
        kit, program, otherProgram, logs, options.timeoutSeconds, EnvironmentForSuites()};

    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const Suite& suite : kSuites) {
        if (otherProgram && !suite.drivesProgram)
            continue;
        const std::wstring name = suite.name;
        if (suite.needsDesktop && whyNoDesktop != nullptr) {
            ++skipped;
            Print(L"skipped " + name + L" (" + whyNoDesktop + L")\n");
            continue;
        }
        std::vector<std::wstring> said;
        const bool itPassed = RunSuite(suite, run, &said);
        ++(itPassed ? passed : failed);
        Print((itPassed ? L"passed  " : L"FAILED  ") + name + InParentheses(said) + L"\n");
    }
    Print(std::to_wstring(passed) + L" passed, " + std::to_wstring(failed) + L" failed, " +
          std::to_wstring(skipped) + L" skipped\n");
    Print(L"Output of each suite: " + logs + L"\n");
    return failed == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Inherited by every suite and what it starts: no critical-error or
    // crash dialog waits for a person; a crash ends the process.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const int code = Run(argc, argv);
    if (StartedByDoubleClick())
        WaitForAKey();
    return code;
}
