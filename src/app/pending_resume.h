#pragma once
// The resume script that this run has written and registered, kept until
// the restart it was written for has come. When that restart does not come
// (another program refused it, or the restart call failed), the chain goes
// on in this session, and the script is withdrawn: left registered, it would
// run the same installers a second time after the next restart.
// Prompt threads, the chain and the screen's own thread all use it.
#include <windows.h>

#include <string>

class PendingResume {
public:
    PendingResume() { InitializeCriticalSection(&lock_); }
    ~PendingResume() { DeleteCriticalSection(&lock_); }
    PendingResume(const PendingResume&) = delete;
    PendingResume& operator=(const PendingResume&) = delete;

    // valueName and command as stored under RunOnce; path is the script.
    void Remember(const std::string& valueName, const std::string& command,
                  const std::string& path);
    // Deletes the script and the run-once value, if the value still starts
    // this script (a later copy of the program may have replaced it).
    void Withdraw();

private:
    CRITICAL_SECTION lock_;
    std::string valueName_;
    std::string command_;
    std::string path_;
};
