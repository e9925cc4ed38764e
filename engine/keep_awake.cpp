// Switching the engine on and off, and the work of one timer tick.
#include "keep_awake.h"

#include <cstring>

#include "control_ids.h"
#include "platform.h"

// Seeded before wWinMain runs, since static initialisation precedes it.
KeepAwakeState keepAwake = {false, false, 0, 0, std::mt19937(SeedFromRandomDevice())};

void SetActive(HWND window, bool active, bool automatic)
{
    if (active) {
        keepAwake.active = true;
        keepAwake.autoDeactivated = false;
        ScheduleNextKeyPress(window);
        keepAwake.deactivateAt = 0;
        if (PlatformIsDlgButtonChecked(window, IDC_AUTO_CHECK) == BST_CHECKED)
            keepAwake.deactivateAt = ComputeDeactivateTime(window);
    } else {
        keepAwake.active = false;
        keepAwake.autoDeactivated = automatic;
        keepAwake.nextKeyTick = 0;
        keepAwake.deactivateAt = 0;
    }
    RefreshControls(window);
}

void RunTimerStep(HWND window)
{
    // The switch-off wins over a press that falls due on the same tick.
    if (keepAwake.deactivateAt != 0 && PlatformTime() >= keepAwake.deactivateAt) {
        SetActive(window, false, true);
        return;
    }
    if (PlatformGetTickCount64() >= keepAwake.nextKeyTick) {
        SendF15KeyPress();
        ScheduleNextKeyPress(window);
    }
}

void SendF15KeyPress()
{
    // Down and up in one call, so no key is ever left pressed. Every byte not
    // set below is zero, padding and the union's unused part included.
    INPUT inputs[2];
    std::memset(inputs, 0, sizeof inputs);
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_F15;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = VK_F15;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    PlatformSendInput(2, inputs, sizeof(INPUT));
}
