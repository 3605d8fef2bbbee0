#include "app/pending_resume.h"

#include "app/restart_trap.h"

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

// The value's text when it is a string of at most 1024 bytes, else empty;
// the buffer's last byte stays 0 for data stored without a terminator.
std::string StoredCommand(HKEY key, const std::string& valueName) {
    char data[1025] = {};
    DWORD type = 0;
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(data);
}

}  // namespace

void PendingResume::Remember(const std::string& valueName, const std::string& command,
                             const std::string& path) {
    Locked locked(lock_);
    valueName_ = valueName;
    command_ = command;
    path_ = path;
}

void PendingResume::Withdraw() {
    Locked locked(lock_);
    if (path_.empty()) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        if (StoredCommand(key, valueName_) == command_) RegDeleteValueA(key, valueName_.c_str());
        RegCloseKey(key);
    }
    DeleteFileA(path_.c_str());
    path_.clear();
}
