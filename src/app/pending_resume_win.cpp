#include "app/pending_resume.h"

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class Locked {
public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~Locked() { LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

// True when the value holds exactly command; a longer value does not fit the
// buffer and is someone else's.
bool StoresCommand(HKEY key, const std::string& valueName, const std::string& command) {
    std::string data(command.size() + 2, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() - 1);  // the last byte stays 0
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    return data.c_str() == command;
}

}  // namespace

bool PendingResume::Register(const std::string& valueName, const std::string& command,
                             const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG stored = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    if (stored != ERROR_SUCCESS) return false;
    Locked locked(lock_);
    valueName_ = valueName;
    command_ = command;
    path_ = path;
    return true;
}

void PendingResume::Withdraw() {
    Locked locked(lock_);
    if (path_.empty()) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        if (StoresCommand(key, valueName_, command_)) RegDeleteValueA(key, valueName_.c_str());
        RegCloseKey(key);
    }
    DeleteFileA(path_.c_str());
    path_.clear();
}
