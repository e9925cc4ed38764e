// Makes the controls show the engine's state: enabled states and the labels.
#include <windows.h>

#include <ctime>
#include <string>

#include "control_ids.h"
#include "keep_awake.h"
#include "platform.h"
#include "status_text.h"

static void EnableControl(HWND window, int id, bool enabled)
{
    EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE);
}

static bool AutoCheckTicked(HWND window)
{
    return IsDlgButtonChecked(window, IDC_AUTO_CHECK) == BST_CHECKED;
}

// Rewrites every state and text on each call; keeps nothing between calls.
void RefreshControls(HWND window)
{
    const bool active = keepAwake.active;
    EnableControl(window, IDC_ACTIVATE, !active);
    EnableControl(window, IDC_DEACTIVATE, active);
    EnableControl(window, IDC_AUTO_CHECK, !active);
    EnableControl(window, IDC_AUTO_TIME, !active && AutoCheckTicked(window));
    SetDlgItemTextW(window, IDC_STATE_LABEL, active ? L"ACTIVE" : L"INACTIVE");

    if (!active) {
        SetDlgItemTextW(window, IDC_NEXT_KEY_LABEL, L"No key events are being sent.");
        const wchar_t* autoText =
            keepAwake.autoDeactivated ? L"Automatically deactivated at the scheduled time."
            : AutoCheckTicked(window) ? L"Auto-deactivate will start with the next activation."
                                      : L"Auto-deactivate is off.";
        SetDlgItemTextW(window, IDC_AUTO_LABEL, autoText);
        return;
    }

    // Unsigned: a press already due counts as 0 ms, never as a negative wait.
    const uint64_t now = GetTickCount64();
    const uint64_t remaining = keepAwake.nextKeyTick > now ? keepAwake.nextKeyTick - now : 0;
    const std::wstring nextKeyText = FormatNextKeyText(remaining);
    SetDlgItemTextW(window, IDC_NEXT_KEY_LABEL, nextKeyText.c_str());

    const std::wstring autoText = FormatAutoDeactivateText(static_cast<int64_t>(time(nullptr)));
    SetDlgItemTextW(window, IDC_AUTO_LABEL, autoText.c_str());
}
