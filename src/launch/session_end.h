#pragma once
// Where the end of the session stands for a running chain. Windows asks
// every program whether the session may end, and only then tells each one
// whether it ends (WM_ENDSESSION); on Vista and later another program may
// hold that answer for as long as its user takes. Once the screen has
// agreed, the session may end at any moment: the chain starts nothing and
// nothing is taken back until the answer has come. The screen's own
// restart call is given a grace for its query to come; once one has come,
// the answer is waited for, however long it takes.
// Used on the screen's thread only.

// Why the screen agreed to end the session.
enum class Agreement {
    kNotOurs,      // a restart the chain has no part in (no policy, no member)
    kWroteScript,  // an allowed member's restart, with the resume script written for it
    kOwnRestart,   // the restart the chain asked for (the allow box, an exit code)
};

// What the session's answer asks of the screen.
enum class SessionStep {
    kNone,
    // The session goes on: take the resume script back, and the restart
    // is owed.
    kWithdrawAndOwe,
};

class SessionEnd {
public:
    // The screen answered the end-session query with yes.
    void Agreed(Agreement why);
    // WM_ENDSESSION; ending false when the session goes on after all.
    SessionStep Ended(bool ending);
    // The chain is about to call for its own restart.
    void RestartCalled();
    // The grace after that call is over: without a query the restart has
    // not come.
    SessionStep GraceOver();
    // Whether the chain may start its next member (or end): no answer is
    // awaited and its own restart is not under way.
    bool ChainMayGoOn() const { return state_ == State::kFree && !restartCalled_; }

private:
    enum class State { kFree, kAgreed, kEnding };
    State state_ = State::kFree;
    Agreement agreement_ = Agreement::kNotOurs;
    bool restartCalled_ = false;
    bool queried_ = false;  // since the restart was called
};
