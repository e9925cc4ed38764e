// The main window's procedure: clicks and ticks to the engine, label colours.
#include "main_window.h"

#include "control_ids.h"
#include "keep_awake.h"
#include "platform.h"

// Only clicks count; any other notification, or an unknown control, is dropped.
static void OnCommand(HWND window, WPARAM wParam)
{
    const WORD code = HIWORD(wParam);
    const WORD id = LOWORD(wParam);
    if (code != BN_CLICKED)
        return;
    // clang-format off
    switch (id) {
    case IDC_ACTIVATE: SetActive(window, true, false); break;
    case IDC_DEACTIVATE: SetActive(window, false, false); break;
    case IDC_AUTO_CHECK: RefreshControls(window); break; // it has toggled itself already
    default: break;
    }
    // clang-format on
}

// Ticks while off do nothing; a step that switched off has refreshed already.
static void OnTimer(HWND window, WPARAM timerId)
{
    if (timerId != TICK_TIMER_ID || !keepAwake.active)
        return;
    RunTimerStep(window);
    if (keepAwake.active)
        RefreshControls(window);
}

// The stock DC brush takes its colour from the DC, so painting allocates nothing.
static LRESULT OnCtlColorStatic(HDC dc)
{
    SetBkColor(dc, kBackgroundColour);
    SetTextColor(dc, kLabelTextColour);
    SetDCBrushColor(dc, kBackgroundColour);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

// Releases what the window holds in the reverse order of its making: the
// timer, started last as the controls were built, before the fonts that
// wWinMain made first. Then the message loop is told to end with code 0.
static void OnDestroy(HWND window)
{
    KillTimer(window, TICK_TIMER_ID);
    DeleteObject(titleFont);
    DeleteObject(bodyFont);
    PostQuitMessage(0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // clang-format off
    switch (message) {
    case WM_CREATE: CreateControls(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_TIMER: OnTimer(window, wParam); return 0;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
    // clang-format on
}
