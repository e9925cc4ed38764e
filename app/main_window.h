// The main window: entry routine, fonts, class, controls and window procedure.
#pragma once

#include <windows.h>

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
