// Starts one program exactly as the screen does and hands it to a wait
// library, for the Wine suites; prints key=value lines about the wait.
//
//   waitdriver.exe [/dll=FILE] [/ignore=NAME]... "COMMAND LINE"
//
//   /dll=FILE     the wait library to load; its "WaitForProcess" is called
//                 with the new process. Without it nothing waits.
//   /ignore=NAME  a name for the ignore list (repeatable)
//   COMMAND LINE  one argument: the command line for CreateProcessA, which
//                 the C runtime's argument rules deliver unchanged
//
// Prints: loaded=0|1, started=MS (just before CreateProcessA), pid=N,
// returned=MS (when the wait returned), cpu=MS (this process's kernel plus
// user time spent inside the wait), and exits 0, or 2 when the program or
// library could not be started or loaded. MS are system clock milliseconds,
// comparable with the recorder's log.
#include <windows.h>

#include "system_clock_win.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

unsigned long long CpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (k.QuadPart + u.QuadPart) / 10000;
}

typedef DWORD(WINAPI* WaitFunction)(HANDLE, DWORD, const char* const*, DWORD);

}  // namespace

int main(int argc, char** argv) {
    const char* dll = nullptr;
    const char* command = nullptr;
    std::vector<const char*> ignore;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "/dll=", 5) == 0) dll = argv[i] + 5;
        else if (std::strncmp(argv[i], "/ignore=", 8) == 0) ignore.push_back(argv[i] + 8);
        else command = argv[i];
    }
    if (!command) {
        std::printf("error=usage\n");
        return 2;
    }
    WaitFunction wait = nullptr;
    if (dll) {
        HMODULE library = LoadLibraryA(dll);
        if (library)
            wait = reinterpret_cast<WaitFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "WaitForProcess")));
        std::printf("loaded=%d\n", wait ? 1 : 0);
        if (!wait) return 2;
    }
    std::string line = command;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::printf("started=%llu\n", SystemClockMs());
    std::fflush(stdout);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                        nullptr, nullptr, &si, &pi)) {
        std::printf("error=create %lu\n", GetLastError());
        return 2;
    }
    std::printf("pid=%lu\n", pi.dwProcessId);
    std::fflush(stdout);
    unsigned long long cpuBefore = CpuMs();
    if (wait) wait(pi.hProcess, pi.dwProcessId, ignore.empty() ? nullptr : &ignore[0],
                   static_cast<DWORD>(ignore.size()));
    unsigned long long returned = SystemClockMs();
    unsigned long long cpuAfter = CpuMs();
    std::printf("returned=%llu\n", returned);
    std::printf("cpu=%llu\n", cpuAfter - cpuBefore);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
