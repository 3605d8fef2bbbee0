#include "launch/registry_run_once_keys.h"

#include <windows.h>

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

HKEY RootKey(RunOnceRoot root) {
    return root == RunOnceRoot::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The machine's key is only opened: a system without it runs no run-once
// values from there. The user's key may be missing until first used.
bool OpenRunOnce(RunOnceRoot root, REGSAM access, HKEY* key) {
    if (root == RunOnceRoot::kMachine)
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, access, key) == ERROR_SUCCESS;
    DWORD disposition = 0;
    return RegCreateKeyExA(RootKey(root), kRunOnceKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                           nullptr, key, &disposition) == ERROR_SUCCESS;
}

}  // namespace

bool RegistryRunOnceKeys::Store(RunOnceRoot root, const std::string& name,
                                const std::string& command) {
    HKEY key;
    if (!OpenRunOnce(root, KEY_SET_VALUE, &key)) return false;
    LONG stored = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    return stored == ERROR_SUCCESS;
}

// A longer value does not fit the buffer and is someone else's.
bool RegistryRunOnceKeys::Holds(RunOnceRoot root, const std::string& name,
                                const std::string& command) {
    HKEY key;
    if (RegOpenKeyExA(RootKey(root), kRunOnceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    std::string data(command.size() + 2, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() - 1);  // the last byte stays 0
    bool holds = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &size) == ERROR_SUCCESS &&
                 type == REG_SZ && data.c_str() == command;
    RegCloseKey(key);
    return holds;
}

void RegistryRunOnceKeys::Remove(RunOnceRoot root, const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(RootKey(root), kRunOnceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}
