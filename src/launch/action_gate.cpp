#include "launch/action_gate.h"

bool ActionGate::TryStart() {
    int idle = kIdle;
    return state_.compare_exchange_strong(idle, kRunning);
}

void ActionGate::CancelStart() { state_ = kIdle; }

bool ActionGate::Finish() {
    int running = kRunning;
    if (state_.compare_exchange_strong(running, kIdle)) return false;
    // Closed while the action ran. Nothing else ends the screen while the
    // request is pending, so the screen is still there to end.
    state_ = kIdle;
    return true;
}

ActionGate::CloseAnswer ActionGate::RequestClose() {
    int running = kRunning;
    if (state_.compare_exchange_strong(running, kCloseRequested)) return CloseAnswer::kCloseWhenDone;
    return running == kCloseRequested ? CloseAnswer::kAlreadyAsked : CloseAnswer::kCloseNow;
}
