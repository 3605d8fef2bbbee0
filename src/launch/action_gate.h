#pragma once
// The screen runs one button action at a time. The gate says whether one
// may start, and what closing the screen means meanwhile: while an action
// runs, the screen goes out of sight and ends with the action. The screen's
// thread and the action's worker both use it.
#include <atomic>

class ActionGate {
public:
    // Idle to running; false while an action runs or its close is pending.
    bool TryStart();
    // Back to idle for an action that could not start after all.
    void CancelStart();
    // The action has ended. True when the user closed the screen while it
    // ran: the screen ends now.
    bool Finish();

    enum class CloseAnswer {
        kCloseNow,       // no action runs
        kCloseWhenDone,  // hide the screen; it ends with the action
        kAlreadyAsked,   // a close is pending already
    };
    CloseAnswer RequestClose();

    bool CloseRequested() const { return state_.load() == kCloseRequested; }

private:
    enum { kIdle = 0, kRunning = 1, kCloseRequested = 2 };
    std::atomic<int> state_{kIdle};
};
