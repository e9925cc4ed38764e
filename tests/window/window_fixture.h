// Opens the real main window in the test process and reads it back through
// the platform, as a user or an accessibility tool would see it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "control_ids.h"
#include "keep_awake.h"
#include "main_window.h"

// Every engine field back to its start value, so no test sees another's state.
void ResetKeepAwake();
// The steps wWinMain takes up to the window, without showing or looping.
HWND OpenMainWindow();
// Destroys the window, drops the quit message it posts, forgets the class.
void CloseMainWindow(HWND window);
// Handles this thread's messages for the given time, or (ticks > 0) until the
// window has been dispatched that many WM_TIMER of TICK_TIMER_ID; returns those.
int PumpMessages(DWORD milliseconds, HWND window = nullptr, int ticks = 0);

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND window, int id);
std::wstring ClassNameOf(HWND window); // lower case: class names ignore case
bool ItemEnabled(HWND window, int id);
void Click(HWND window, int id); // BM_CLICK, the way the button sees a mouse click
LRESULT Tick(HWND window);       // one WM_TIMER from TICK_TIMER_ID
RECT RectInParent(HWND control); // the child's rectangle in client pixels
bool OnWine();                   // where Wine's measured behaviour is expected

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    HWND window = nullptr;
};
