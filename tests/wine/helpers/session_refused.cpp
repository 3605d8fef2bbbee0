// Plays Windows' part when some other program refuses to end the session:
// asks the top-level window titled TITLE whether the session may end, then
// tells it that the session goes on (WM_ENDSESSION with FALSE). Wine's own
// shutdown never sends that to a window that answered TRUE; Windows does.
//   session_refused.exe TITLE
// Prints "answer=N" (the window's answer to the query); exit code 2 when no
// such window exists.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (!window) return 2;
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
    std::printf("answer=%lu\n", static_cast<unsigned long>(answer));
    SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 5000, nullptr);
    return 0;
}
