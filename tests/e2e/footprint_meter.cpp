// Measures what Quillet costs while it runs: two copies side by side, one
// switched on and one left off, for the same stretch of time; prints the CPU
// time each used by its own accounting, and its objects and memory. Each copy
// gets a tag on its (ignored) command line, and the start and end of the
// stretch are printed as they happen, so that a script outside Wine can
// read the same processes' times from the host system at the same moments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "control_ids.h"
#include "drive.h"

namespace {

struct Copy {
    const char* name;
    const wchar_t* tag;
    bool switchOn;
    Started started;
    HWND window;
    Footprint before;
    Footprint after;
};

void PrintCopy(const Copy& copy, double seconds)
{
    const double cpu = static_cast<double>(copy.after.cpu100ns - copy.before.cpu100ns) / 1e7;
    if (copy.after.cpuKnown)
        std::printf("%-8s cpu %.3f s in %.0f s = %.3f s per hour on\n", copy.name, cpu, seconds,
                    cpu * 3600.0 / seconds);
    else
        std::printf(
            "%-8s cpu not reported: GetProcessTimes answers with the caller's own times here\n",
            copy.name);
    std::printf(
        "%-8s gdi %lu -> %lu, user %lu -> %lu%s, windows %zu -> %zu, private %zu -> %zu bytes\n",
        copy.name, copy.before.gdiObjects, copy.after.gdiObjects, copy.before.userObjects,
        copy.after.userObjects,
        copy.after.guiCountsKnown ? "" : " (GetGuiResources not implemented)", copy.before.windows,
        copy.after.windows, copy.before.privateBytes, copy.after.privateBytes);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    SetProcessDPIAware(); // reads the copies' windows in their own pixels
    if (argc != 4) {
        std::fprintf(stderr, "usage: footprint_meter QUILLET.EXE SECONDS REFERENCE.EXE\n");
        return 2;
    }
    const std::wstring program = WindowsPath(argv[1]);
    const double seconds = std::wcstod(argv[2], nullptr);
    if (seconds <= 0) {
        std::fprintf(stderr, "footprint_meter: SECONDS must be positive\n");
        return 2;
    }

    Copy copies[2] = {{"active", L"quillet-footprint-active", true, {}, nullptr, {}, {}},
                      {"inactive", L"quillet-footprint-inactive", false, {}, nullptr, {}, {}}};
    for (Copy& copy : copies) {
        if (!StartProgram(program, copy.tag, &copy.started)) {
            std::fprintf(stderr, "footprint_meter: cannot start %ls\n", argv[1]);
            return 1;
        }
        copy.window = WaitForMainWindow(copy.started.processId, 20000);
        if (copy.window == nullptr) {
            std::fprintf(stderr, "footprint_meter: no window from the %s copy\n", copy.name);
            return 1;
        }
    }
    // The bare reference window, beside them for the same stretch.
    Started reference = {};
    if (!StartProgram(WindowsPath(argv[3]), L"quillet-footprint-reference", &reference)) {
        std::fprintf(stderr, "footprint_meter: cannot start %ls\n", argv[3]);
        return 1;
    }
    // Let start-up settle so that it is not counted.
    Sleep(3000);
    // Default interval, as a user would leave it.
    ClickButton(copies[0].window, IDC_ACTIVATE);
    for (Copy& copy : copies)
        ReadFootprint(copy.started.process, copy.started.processId, &copy.before);
    const ULONGLONG start = GetTickCount64();
    std::printf("measuring: start\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds * 1000));
    for (Copy& copy : copies)
        ReadFootprint(copy.started.process, copy.started.processId, &copy.after);
    std::printf("measuring: end\n");
    std::fflush(stdout);
    const double measured = static_cast<double>(GetTickCount64() - start) / 1000.0;

    int status = 0;
    for (Copy& copy : copies) {
        const std::wstring state = ReadControlText(copy.window, IDC_STATE_LABEL);
        if (state != (copy.switchOn ? L"ACTIVE" : L"INACTIVE")) {
            std::fprintf(stderr, "footprint_meter: the %s copy is not in its state\n", copy.name);
            status = 1;
        }
        PrintCopy(copy, measured);
    }
    ClickButton(copies[0].window, IDC_DEACTIVATE);
    for (Copy& copy : copies) {
        DWORD exitCode = 99;
        if (!CloseAndWait(copy.window, copy.started.process, 5000, &exitCode) || exitCode != 0) {
            std::fprintf(stderr, "footprint_meter: the %s copy did not close with exit code 0\n",
                         copy.name);
            status = 1;
        }
        ReleaseStarted(&copy.started);
    }
    // The reference has no close of its own to test; it just goes.
    TerminateProcess(reference.process, 0);
    ReleaseStarted(&reference);
    return status;
}
