#include "launch/pending_resume_win.h"

#include "launch/registry_run_once_keys.h"

namespace {

class Locked {
public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~Locked() { LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

}  // namespace

bool PendingResume::Register(const std::string& valueName, const std::string& command,
                             const std::string& path) {
    RegistryRunOnceKeys keys;
    RunOnceRoot root = RegisterRunOnce(keys, valueName, command);
    if (root == RunOnceRoot::kNone) return false;
    Locked locked(lock_);
    // A script registered before, and not taken back, gives way to this one.
    if (!path_.empty() && path_ != path) {
        UnregisterRunOnce(keys, root_, valueName_, command_);
        DeleteFileA(path_.c_str());
    }
    root_ = root;
    valueName_ = valueName;
    command_ = command;
    path_ = path;
    return true;
}

void PendingResume::Withdraw() {
    Locked locked(lock_);
    if (path_.empty()) return;
    RegistryRunOnceKeys keys;
    UnregisterRunOnce(keys, root_, valueName_, command_);
    DeleteFileA(path_.c_str());
    path_.clear();
    root_ = RunOnceRoot::kNone;
}
