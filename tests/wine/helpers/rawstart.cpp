// Starts the command line held in the environment variable RAW_COMMAND_LINE
// exactly as written (wine would quote arguments that hold blanks), waits
// for it and exits with its exit code.
#include <windows.h>

int main() {
    static char line[4096];
    DWORD length = GetEnvironmentVariableA("RAW_COMMAND_LINE", line, sizeof line);
    if (length == 0 || length >= sizeof line) return 2;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 3;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
