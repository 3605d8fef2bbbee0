// Waiting in the Win32 test programs: for a condition, with a bound, and for
// this thread's message queue to fall idle, never for a fixed time.
#pragma once

#include <windows.h>

namespace kit {

// Hands every waiting message on, through the dialog manager when a dialog
// is given, as a modal loop does.
inline void DispatchWaiting(HWND dialog) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Returns once the queue is idle: no message has arrived for `quiet` ms
// after the last was handled (input from the system and painting arrive a
// little after their cause). False when it is still busy after `bound` ms.
inline bool FlushUntilIdle(HWND dialog = nullptr, DWORD quiet = 50, DWORD bound = 5000) {
    for (DWORD start = GetTickCount();;) {
        DispatchWaiting(dialog);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quiet, QS_ALLINPUT) == WAIT_TIMEOUT) {
            return true;
        }
        if (GetTickCount() - start >= bound) return false;
    }
}

// Waits up to `bound` ms for a condition, handling this thread's messages
// meanwhile; the condition is asked again whenever a message came or 20 ms
// passed.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD bound = 2000) {
    for (DWORD start = GetTickCount(); !condition();) {
        if (GetTickCount() - start >= bound) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        DispatchWaiting(nullptr);
    }
    return true;
}

}  // namespace kit
