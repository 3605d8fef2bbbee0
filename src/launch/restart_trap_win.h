#pragma once
// Restart requests while a chain runs: trapped until the chain ends, or
// allowed after the resume script has been written and registered. The
// screen forwards the end-session messages here; the chain asks it to write
// the resume script and to wait for a prompt.
#include <windows.h>

#include <atomic>

#include "launch/pending_resume_win.h"
#include "launch/session_end.h"
#include "script/screen_model.h"
#include "win/worker_threads.h"

class Machine;

class RestartTrap {
public:
    // Prompt threads run among the screen's workers; the resume script is
    // written to the machine's temporary directory.
    RestartTrap(ScreenModel& screen, WorkerThreads& workers, Machine& machine)
        : model_(screen), workers_(workers), machine_(machine) {}
    RestartTrap(const RestartTrap&) = delete;
    RestartTrap& operator=(const RestartTrap&) = delete;

    // WM_QUERYENDSESSION: true lets the session end.
    bool QueryEndSession();
    // WM_ENDSESSION: ending false when another program refused the end.
    void EndSession(bool ending);
    // A request of the chain (ChainSessionRequest); true while it must
    // hold: the session's answer is awaited, or its own restart.
    bool ChainSession(unsigned request);

    // Writes the resume script for the members after the slot resumeAfter
    // and registers it to run once at the next start of Windows; it stays
    // pending until withdrawn. False when nothing was left behind (no file
    // and no value).
    bool WriteResumeScript(int resumeAfter);
    // The chain no longer waits for an earlier prompt.
    void ForgetPrompt() { prompt_ = nullptr; }
    // Waits for the remembered prompt thread to end, then forgets it.
    void WaitForPrompt();

private:
    struct AllowRequest {
        RestartTrap* trap;
        int resumeAfter;  // as decided when the request came
    };
    static DWORD WINAPI TrapPrompt(void* trap);
    static DWORD WINAPI AllowPrompt(void* request);
    // Starts a prompt thread and remembers it; false while the remembered
    // one is still shown. Every prompt handle stays valid until the workers
    // are waited for, so it may be waited on after the prompt has ended and
    // cleared the field.
    bool StartPrompt(WorkerThreads::Body body, void* argument);
    // Acts on the session's step: for kWithdrawAndOwe the resume script is
    // taken back and the restart marked as owed.
    void Take(SessionStep step);

    ScreenModel& model_;
    WorkerThreads& workers_;
    Machine& machine_;
    PendingResume pending_;
    SessionEnd session_;
    std::atomic<HANDLE> prompt_{nullptr};
};
