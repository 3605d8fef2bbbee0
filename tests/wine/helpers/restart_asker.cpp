// An installer that asks Windows to restart, for the restart suites.
//   restart_asker.exe LOG TAG [refuse] [passive] [sleep=MS] [exit=CODE]
// Shows a window titled TAG, appends "TAG asked MS" to LOG, calls
// ExitWindowsEx(EWX_REBOOT), keeps its window for MS milliseconds (default
// 3000) and appends "TAG ended MS" before exiting (MS: milliseconds of the
// system clock). With "refuse" its window answers the end-session query
// with FALSE, which stops the shutdown after the processes that came before
// it; every query it gets is logged as "TAG queried MS". With "passive" it
// asks for nothing: a window that only watches for restarts; it logs
// "TAG watching MS" once its window is there. With
// "exit=CODE" it ends with that exit code (3010: a restart is needed). With
// "after=TITLE" it makes sure that a shutdown visits it after the process
// that owns the window TITLE (see StartAfter).
#include <windows.h>

#include "system_clock_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char* logPath;
const char* tag;
bool refuse;

void Log(const char* what) {
    if (FILE* file = std::fopen(logPath, "a")) {
        std::fprintf(file, "%s %s %llu\n", tag, what, SystemClockMs());
        std::fclose(file);
    }
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        Log("queried");
        return refuse ? FALSE : TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
DWORD WINAPI Idle(void*) { return 0; }

DWORD OwnerOf(const char* title) {
    DWORD owner = 0;
    if (HWND window = FindWindowA(nullptr, title)) GetWindowThreadProcessId(window, &owner);
    return owner;
}

// Wine's shutdown visits processes in the order of their ids, and the
// server reuses freed ids, so a process started later may get a lower one.
// Such a process takes thread ids, held by suspended threads, until they
// come fresh from the end of the table, and then starts the real watcher,
// whose id is fresh as well; it waits for it and ends with it.
int StartAfter(const char* title) {
    DWORD owner = 0;
    for (int tries = 0; !owner && tries < 100; ++tries) {
        owner = OwnerOf(title);
        if (!owner) Sleep(100);
    }
    if (GetCurrentProcessId() > owner) return -1;
    DWORD last = 0;
    for (int taken = 0, fresh = 0; taken < 5000 && fresh < 16; ++taken) {
        DWORD id = 0;
        if (!CreateThread(nullptr, 4096, &Idle, nullptr, CREATE_SUSPENDED, &id))
            break;
        fresh = id > owner && id == last + 4 ? fresh + 1 : 0;
        last = id;
    }
    char line[1024];
    std::snprintf(line, sizeof line, "%s parent=%lu", GetCommandLineA(), GetCurrentProcessId());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return 3;
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    return static_cast<int>(code);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    logPath = argv[1];
    tag = argv[2];
    DWORD sleep = 3000;
    int exitCode = 0;
    bool passive = false;
    const char* after = nullptr;
    HANDLE parent = nullptr;
    for (int i = 3; i < argc; ++i) {
        if (std::strncmp(argv[i], "after=", 6) == 0) after = argv[i] + 6;
        if (std::strncmp(argv[i], "parent=", 7) == 0)
            parent = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(argv[i] + 7, nullptr, 10));
        if (std::strcmp(argv[i], "refuse") == 0) refuse = true;
        if (std::strcmp(argv[i], "passive") == 0) passive = true;
        if (std::strncmp(argv[i], "sleep=", 6) == 0) sleep = std::strtoul(argv[i] + 6, nullptr, 10);
        if (std::strncmp(argv[i], "exit=", 5) == 0) exitCode = std::atoi(argv[i] + 5);
    }
    if (after && !parent) {
        int code = StartAfter(after);
        if (code >= 0) return code;
    }
    WNDCLASSA type = {};
    type.lpfnWndProc = &Proc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "RestartAsker";
    RegisterClassA(&type);
    HWND window = CreateWindowA("RestartAsker", tag, WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                nullptr, type.hInstance, nullptr);
    if (passive) {
        Log("watching");
    } else {
        Log("asked");
        ExitWindowsEx(EWX_REBOOT, 0);
    }
    DWORD end = GetTickCount() + sleep;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        DWORD woke = MsgWaitForMultipleObjects(parent ? 1 : 0, &parent, FALSE, 50, QS_ALLINPUT);
        if (parent && woke == WAIT_OBJECT_0) break;  // the process that started this one ended
    }
    Log("ended");
    DestroyWindow(window);
    return exitCode;
}
