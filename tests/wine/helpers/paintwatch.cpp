// Times a screen program's start: starts a command line and reports the
// milliseconds until the window titled TITLE shows the colour RRGGBB at the
// client point X,Y; then closes the window and waits for the program.
// Usage: paintwatch TITLE X Y RRGGBB COMMAND LINE...   prints ms=N or ms=-1
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The command line after the first `skip` words of our own.
const char* Tail(const char* line, int skip) {
    for (int word = 0; word <= skip; ++word) {
        while (*line == ' ' || *line == '\t') ++line;
        bool quoted = *line == '"';
        if (quoted) ++line;
        while (*line && (quoted ? *line != '"' : (*line != ' ' && *line != '\t'))) ++line;
        if (quoted && *line) ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) return 2;
    const char* title = argv[1];
    POINT point = {std::atoi(argv[2]), std::atoi(argv[3])};
    unsigned long rgb = std::strtoul(argv[4], nullptr, 16);
    COLORREF wanted = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    static char command[2048];
    std::strncpy(command, Tail(GetCommandLineA(), 4), sizeof command - 1);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 3;
    long elapsed = -1;
    for (int tries = 0; tries < 10000; ++tries) {
        HWND window = FindWindowA(nullptr, title);
        if (window && IsWindowVisible(window)) {
            POINT at = point;
            ClientToScreen(window, &at);
            HDC screen = GetDC(nullptr);
            COLORREF seen = GetPixel(screen, at.x, at.y);
            ReleaseDC(nullptr, screen);
            if (seen == wanted) {
                QueryPerformanceCounter(&now);
                elapsed = static_cast<long>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
                PostMessageA(window, WM_CLOSE, 0, 0);
                break;
            }
        }
        Sleep(2);
    }
    if (elapsed < 0) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("ms=%ld\n", elapsed);
    return elapsed < 0 ? 1 : 0;
}
