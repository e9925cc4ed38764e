// The main window: entry routine, fonts, class, controls and window procedure.
#pragma once

#include <windows.h>

// The client area's background, which the labels share so they blend in.
const COLORREF kBackgroundColour = RGB(250, 250, 250);
const COLORREF kLabelTextColour = RGB(35, 35, 35);

extern HFONT titleFont; // the title label's font
extern HFONT bodyFont;  // every other control's font

// The start-up steps of wWinMain, usable one by one.
void InitCommonControlClasses();
void CreateFonts();
bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
int StartupShowCommand();
int RunMessageLoop();

void CreateControls(HWND window);
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
