// Plays Windows' part when some other program refuses to end the session:
// asks the top-level window titled TITLE whether the session may end, then
// tells it that the session goes on (WM_ENDSESSION with FALSE). Wine's own
// shutdown never sends that to a window that answered TRUE; Windows does.
//   session_refused.exe TITLE [hold=MS]
// Prints "answer=N" (the window's answer to the query) at once; with
// hold=MS it holds the session's end that long first, as another program's
// "Save changes?" box does, and prints "refused=MS" (milliseconds of the
// system clock) as it tells the window. Exit code 2 when no such window
// exists.
#include <windows.h>

#include "system_clock_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (!window) return 2;
    DWORD hold = argc > 2 && std::strncmp(argv[2], "hold=", 5) == 0
                     ? std::strtoul(argv[2] + 5, nullptr, 10)
                     : 0;
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
    std::printf("answer=%lu\n", static_cast<unsigned long>(answer));
    std::fflush(stdout);
    if (hold) {
        Sleep(hold);
        std::printf("refused=%llu\n", SystemClockMs());
        std::fflush(stdout);
    }
    SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 5000, nullptr);
    return 0;
}
