#include "launch/process_start_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "script/program_paths.h"

namespace {

// GetProcessId exists from Windows XP SP1 on; a start through the shell
// happens only on Vista and later, where it is always there.
DWORD ProcessIdOf(HANDLE process) {
    using GetProcessIdFn = DWORD(WINAPI*)(HANDLE);
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    auto getId = kernel ? reinterpret_cast<GetProcessIdFn>(reinterpret_cast<void*>(
                              GetProcAddress(kernel, "GetProcessId")))
                        : nullptr;
    return getId && process ? getId(process) : 0;
}

}  // namespace

bool WinProcessStarter::Create(const std::string& commandLine, StartedProcess* started,
                               unsigned long* error) {
    if (commandLine.size() > kMaxPathChars) {
        *error = ERROR_INVALID_PARAMETER;
        return false;
    }
    char line[kMaxPathChars + 1];
    std::memcpy(line, commandLine.c_str(), commandLine.size() + 1);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process)) {
        *error = GetLastError();
        return false;
    }
    started->process = process.hProcess;
    started->thread = process.hThread;
    started->id = process.dwProcessId;
    return true;
}

bool WinProcessStarter::StartThroughShell(const std::string& program, const std::string& parameters,
                                          StartedProcess* started) {
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    // Keep the process to wait for; no error box of the shell's own (the
    // button has its failure message); finish before returning, as this
    // thread goes on to wait.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return false;
    started->process = info.hProcess;
    started->id = ProcessIdOf(info.hProcess);
    return true;
}

void CloseStartedProcess(const StartedProcess& started) {
    if (started.thread) CloseHandle(started.thread);
    if (started.process) CloseHandle(started.process);
}
