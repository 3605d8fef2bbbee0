#include "launch/restart_machine.h"

#include <windows.h>

namespace {

using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using LookupPrivilegeValueFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD,
                                              PTOKEN_PRIVILEGES, PDWORD);
using InitiateSystemShutdownFn = BOOL(WINAPI*)(LPSTR, LPSTR, DWORD, BOOL, BOOL);

constexpr unsigned short kWindowsNt4 = 5;

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Windows 95 has no tokens; its ADVAPI32 may lack these, so they are looked
// up rather than imported.
void EnableShutdownPrivilege(HMODULE advapi) {
    auto openToken = Export<OpenProcessTokenFn>(advapi, "OpenProcessToken");
    auto lookup = Export<LookupPrivilegeValueFn>(advapi, "LookupPrivilegeValueA");
    auto adjust = Export<AdjustTokenPrivilegesFn>(advapi, "AdjustTokenPrivileges");
    if (!openToken || !lookup || !adjust) return;
    HANDLE token = nullptr;
    if (!openToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    if (lookup(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        adjust(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

}  // namespace

void RestartMachine(unsigned short versionCode) {
    HMODULE advapi = GetModuleHandleA("ADVAPI32.DLL");
    if (!advapi) advapi = LoadLibraryA("ADVAPI32.DLL");
    if (advapi) EnableShutdownPrivilege(advapi);
    if (versionCode == kWindowsNt4) {
        auto shutdown =
            advapi ? Export<InitiateSystemShutdownFn>(advapi, "InitiateSystemShutdownA") : nullptr;
        if (shutdown) shutdown(nullptr, nullptr, 0, FALSE, TRUE);
        return;
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}
