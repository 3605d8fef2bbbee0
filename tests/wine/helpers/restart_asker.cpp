// An installer that asks Windows to restart, for the restart suites.
//   restart_asker.exe LOG TAG [refuse] [passive] [sleep=MS]
// Shows a window titled TAG, appends "TAG asked MS" to LOG, calls
// ExitWindowsEx(EWX_REBOOT), keeps its window for MS milliseconds (default
// 3000) and appends "TAG ended MS" before exiting (MS: milliseconds of the
// system clock). With "refuse" its window answers the end-session query
// with FALSE, which stops the shutdown after the processes that came before
// it; every query it gets is logged as "TAG queried MS". With "passive" it
// asks for nothing: a window that only watches for restarts.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char* logPath;
const char* tag;
bool refuse;

unsigned long long NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
}

void Log(const char* what) {
    if (FILE* file = std::fopen(logPath, "a")) {
        std::fprintf(file, "%s %s %llu\n", tag, what, NowMs());
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
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    logPath = argv[1];
    tag = argv[2];
    DWORD sleep = 3000;
    bool passive = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "refuse") == 0) refuse = true;
        if (std::strcmp(argv[i], "passive") == 0) passive = true;
        if (std::strncmp(argv[i], "sleep=", 6) == 0) sleep = std::strtoul(argv[i] + 6, nullptr, 10);
    }
    WNDCLASSA type = {};
    type.lpfnWndProc = &Proc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "RestartAsker";
    RegisterClassA(&type);
    HWND window = CreateWindowA("RestartAsker", tag, WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                nullptr, type.hInstance, nullptr);
    if (!passive) {
        Log("asked");
        ExitWindowsEx(EWX_REBOOT, 0);
    }
    DWORD end = GetTickCount() + sleep;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    Log("ended");
    DestroyWindow(window);
    return 0;
}
