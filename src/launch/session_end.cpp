#include "launch/session_end.h"

void SessionEnd::Agreed(Agreement why) {
    state_ = State::kAgreed;
    agreement_ = why;
    queried_ = true;
}

SessionStep SessionEnd::Ended(bool ending) {
    if (state_ != State::kAgreed) return SessionStep::kNone;
    if (ending) {
        state_ = State::kEnding;
        return SessionStep::kNone;
    }
    state_ = State::kFree;
    // The restart the chain asked for but has not called yet still comes
    // once the member has ended, with the script already written.
    bool ours = agreement_ == Agreement::kWroteScript ||
                (agreement_ == Agreement::kOwnRestart && restartCalled_);
    if (!ours) return SessionStep::kNone;
    restartCalled_ = false;
    return SessionStep::kWithdrawAndOwe;
}

void SessionEnd::RestartCalled() {
    restartCalled_ = true;
    queried_ = false;
}

SessionStep SessionEnd::GraceOver() {
    if (!restartCalled_ || queried_ || state_ != State::kFree) return SessionStep::kNone;
    restartCalled_ = false;
    return SessionStep::kWithdrawAndOwe;
}
