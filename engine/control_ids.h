// Child-window identifiers of the main window's controls, and the one timer.
#pragma once

enum {
    IDC_ACTIVATE = 1001,
    IDC_DEACTIVATE = 1002,
    IDC_INTERVAL = 1003,
    IDC_INTERVAL_SPIN = 1004,
    IDC_STATE_LABEL = 1005,
    IDC_NEXT_KEY_LABEL = 1006,
    IDC_AUTO_CHECK = 1007,
    IDC_AUTO_TIME = 1008,
    IDC_AUTO_LABEL = 1009,
};

enum { TICK_TIMER_ID = 1 };
