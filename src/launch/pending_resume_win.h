#pragma once
// The run-once registration of the resume script that this run has written,
// kept until the restart it was written for has come. When that restart does not come
// (another program refused it, or the restart call failed), the chain goes
// on in this session, and the script is withdrawn: left registered, it would
// run the same installers a second time after the next restart.
// Prompt threads, the chain and the screen's own thread all use it.
#include <windows.h>

#include <string>

#include "launch/run_once.h"

class PendingResume {
public:
    PendingResume() { InitializeCriticalSection(&lock_); }
    ~PendingResume() { DeleteCriticalSection(&lock_); }
    PendingResume(const PendingResume&) = delete;
    PendingResume& operator=(const PendingResume&) = delete;

    // Stores command as the run-once value valueName (HKEY_LOCAL_MACHINE, or
    // HKEY_CURRENT_USER where the machine's key may not be written) and
    // remembers it with the script's path. False when it cannot be set.
    bool Register(const std::string& valueName, const std::string& command,
                  const std::string& path);
    // Deletes the script and the run-once value, if the value still starts
    // this script (a later copy of the program may have replaced it).
    void Withdraw();

private:
    CRITICAL_SECTION lock_;
    RunOnceRoot root_ = RunOnceRoot::kNone;
    std::string valueName_;
    std::string command_;
    std::string path_;
};
