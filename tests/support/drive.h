// Drives a running Quillet from another process through its window only, as
// a user's tools would: start it, find its window, type, click, read, close.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// One started process and its main thread.
struct Started {
    HANDLE process;
    HANDLE thread;
    DWORD processId;
    DWORD threadId;
};

// What the process holds at one moment, by its own accounting.
struct Footprint {
    uint64_t cpu100ns; // kernel plus user time
    bool cpuKnown;     // false where the system answers with the caller's own times (Wine)
    DWORD gdiObjects;  // GetGuiResources; 0 where that is not implemented
    DWORD userObjects;
    bool guiCountsKnown; // false where GetGuiResources is not implemented (Wine)
    size_t windows;      // top-level and child windows the process owns
    size_t privateBytes;
};

extern const wchar_t kMainWindowClass[];

// A path as Windows sees it: a Unix path (from CMake, under Wine) becomes Z:.
std::wstring WindowsPath(const wchar_t* path);
// startup: how the program is to show its window; environment: a block as
// EnvironmentWith makes; nullptr for this process's own.
bool StartProgram(const std::wstring& path, const std::wstring& arguments, Started* started,
                  const STARTUPINFOW* startup = nullptr, const std::wstring* environment = nullptr);
// This process's environment block with the variable name removed or, when
// value is not null, set to value.
std::wstring EnvironmentWith(const wchar_t* name, const wchar_t* value);
void ReleaseStarted(Started* started);

// The process's top-level window of the main class, or null: another
// process's Quillet on the same desktop is never taken for it.
HWND FindMainWindow(DWORD processId);
// The same once shown (so with all its controls), waited for up to timeoutMs.
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs);

std::wstring ReadControlText(HWND window, int id);
void SetControlText(HWND window, int id, const wchar_t* text);
void ClickButton(HWND window, int id);

// One tick of the window's timer, sent from outside.
void SendTick(HWND window);
// Paints the window and its controls at once, as after a change of texts.
void RepaintNow(HWND window);

// WM_CLOSE, then the exit code within timeoutMs; false if it did not end.
bool CloseAndWait(HWND window, HANDLE process, DWORD timeoutMs, DWORD* exitCode);

// Top-level and child windows the process owns now.
size_t CountWindows(DWORD processId);

bool ReadFootprint(HANDLE process, DWORD processId, Footprint* footprint);

// Seconds in a "Next F15 in Xm Ys" line; -1 when the line has another shape.
int NextKeySeconds(const std::wstring& line);
