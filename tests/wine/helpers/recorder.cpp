// A stand-in for an installer, for the Wine suites. When it ends it appends
// one line to a log file saying who it was and what it saw; on the way it
// can start another program, show a window, sleep and exit with a code.
//
//   recorder.exe [options] [/child COMMAND LINE...]
//
//   /log=PATH     the log file (default: the RECORDER_LOG environment
//                 variable; no log when neither is given). Children inherit
//                 the environment, so a whole tree can share one log.
//   /tag=NAME     the name in the log line (default: the exe's own file name,
//                 so a copy named SETUP.EXE logs as SETUP.EXE)
//   /sleep=MS     sleep MS milliseconds before exiting
//   /exit=CODE    exit with CODE (default 0)
//   /window=MS    show a top-level window for MS milliseconds
//   /title=TEXT   that window's title (default: the tag)
//   /copies=N     start the child N times (default 1)
//   /reboot       ask Windows to restart (ExitWindowsEx EWX_REBOOT) before
//                 exiting
//   /child ...    everything after "/child" and the blanks that follow it is
//                 the command line of a program to start (CreateProcessA, no
//                 application name, nothing inherited); it is passed on
//                 exactly as written, quotes included, and not waited for.
//                 It must come last.
//
// A value may be quoted ("/title=Setup 2" or /title="Setup 2"). Order of
// events: start the children, show the window, sleep, restart request, exit.
//
// The log line, fields separated by tabs, the command line last:
//   tag=NAME pid=N created=MS start=MS end=MS exit=CODE child=OK|FAILED|NONE cwd=DIR cmd=LINE
// created, start and end are milliseconds of the system clock, comparable
// between processes: when the process was created, when this program began
// to run, and when it ended. cmd is GetCommandLineA as the program got it.
#include <windows.h>

#include "system_clock_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Skips the program's own name the way the C runtime does: a quoted name
// ends at the closing quote, an unquoted one at the first blank.
const char* SkipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && !IsBlank(*p)) ++p;
    }
    return p;
}

// Reads one word: up to an unquoted blank, with the quotes taken out.
const char* ReadWord(const char* p, std::string& word) {
    word.clear();
    bool quoted = false;
    for (; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (IsBlank(*p) && !quoted) {
            break;
        } else {
            word += *p;
        }
    }
    return p;
}

bool Option(const std::string& word, const char* name, std::string& value) {
    size_t n = std::strlen(name);
    if (word.size() < n || _strnicmp(word.c_str(), name, n) != 0) return false;
    value = word.substr(n);
    return true;
}

unsigned long Number(const std::string& text) { return std::strtoul(text.c_str(), nullptr, 10); }

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ShowWindowFor(const std::string& title, DWORD ms) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "RecorderWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("RecorderWindow", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                100, 100, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return;
    SetTimer(window, 1, ms, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Wine's append mode is not atomic between processes (two recorders ending
// together can write over each other's line), so appends take turns.
void AppendLine(const std::string& path, const std::string& line) {
    HANDLE turn = CreateMutexA(nullptr, FALSE, "discscreen recorder log");
    if (turn) WaitForSingleObject(turn, 10000);
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            SetFilePointer(file, 0, nullptr, FILE_END);
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            break;
        }
        Sleep(20);
    }
    if (turn) {
        ReleaseMutex(turn);
        CloseHandle(turn);
    }
}

// When the parent created this process: unlike start, which is taken once
// this program runs, it keeps the order of the parent's CreateProcess calls.
unsigned long long CreationMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return FileTimeMs(created);
}

}  // namespace

int main() {
    unsigned long long start = SystemClockMs();
    const char* commandLine = GetCommandLineA();

    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    const char* baseName = modulePath;
    for (const char* p = modulePath; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') baseName = p + 1;

    std::string logPath, tag = baseName, title, child, value, word;
    char envLog[MAX_PATH * 2] = {};
    DWORD envLength = GetEnvironmentVariableA("RECORDER_LOG", envLog, sizeof envLog);
    if (envLength > 0 && envLength < sizeof envLog) logPath = envLog;
    DWORD sleepMs = 0, windowMs = 0;
    unsigned long copies = 1;
    int exitCode = 0;
    bool reboot = false, hasChild = false;

    const char* p = SkipProgramName(commandLine);
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) break;
        p = ReadWord(p, word);
        if (Option(word, "/log=", value)) logPath = value;
        else if (Option(word, "/tag=", value)) tag = value;
        else if (Option(word, "/sleep=", value)) sleepMs = Number(value);
        else if (Option(word, "/exit=", value)) exitCode = static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
        else if (Option(word, "/window=", value)) windowMs = Number(value);
        else if (Option(word, "/title=", value)) title = value;
        else if (Option(word, "/copies=", value)) copies = Number(value);
        else if (word.size() == 7 && Option(word, "/reboot", value)) reboot = true;
        else if (word.size() == 6 && Option(word, "/child", value)) {
            while (IsBlank(*p)) ++p;
            child = p;
            hasChild = true;
            break;
        }
    }
    if (title.empty()) title = tag;

    const char* childResult = "NONE";
    if (hasChild) {
        childResult = "OK";
        for (unsigned long i = 0; i < copies; ++i) {
            std::string mutableLine = child;  // CreateProcessA may write into it
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi = {};
            if (CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi)) {
                CloseHandle(pi.hThread);
                CloseHandle(pi.hProcess);
            } else {
                childResult = "FAILED";
            }
        }
    }
    if (windowMs) ShowWindowFor(title, windowMs);
    if (sleepMs) Sleep(sleepMs);
    if (reboot) ExitWindowsEx(EWX_REBOOT, 0);

    if (!logPath.empty()) {
        char cwd[MAX_PATH * 2] = {};
        GetCurrentDirectoryA(sizeof cwd, cwd);
        char numbers[160];
        std::snprintf(numbers, sizeof numbers,
                      "\tpid=%lu\tcreated=%llu\tstart=%llu\tend=%llu\texit=%d\tchild=",
                      GetCurrentProcessId(), CreationMs(), start, SystemClockMs(), exitCode);
        std::string line = "tag=" + tag + numbers + childResult + "\tcwd=" + cwd +
                           "\tcmd=" + commandLine + "\n";
        AppendLine(logPath, line);
    }
    return exitCode;
}
