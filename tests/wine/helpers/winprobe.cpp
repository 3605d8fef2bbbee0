// Reports what Windows knows of the top-level windows titled argv[1], one
// key=value a line, for the Wine suites: how many there are, and of the
// first: its rectangle, client size, visibility, minimised state and
// whether it is the foreground window, and a message box's text (line
// breaks shown as "|"). A second argument acts on it first:
// "minimize" minimises it; "box" looks at message boxes only.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {
const char* wanted;
HWND first;
int count;
bool boxesOnly;  // "box": only message boxes (they have the text control 0xFFFF)

BOOL CALLBACK Visit(HWND window, LPARAM) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, wanted) == 0 && (!boxesOnly || GetDlgItem(window, 0xFFFF))) {
        if (!first) first = window;
        ++count;
    }
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    wanted = argv[1];
    boxesOnly = argc > 2 && std::strcmp(argv[2], "box") == 0;
    EnumWindows(&Visit, 0);
    std::printf("count=%d\n", count);
    std::printf("found=%d\n", first ? 1 : 0);
    if (!first) return 1;
    if (argc > 2 && std::strcmp(argv[2], "minimize") == 0) {
        ShowWindow(first, SW_MINIMIZE);
        Sleep(300);
    }
    RECT rect;
    GetWindowRect(first, &rect);
    RECT client;
    GetClientRect(first, &client);
    std::printf("rect=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    std::printf("size=%ld,%ld\n", rect.right - rect.left, rect.bottom - rect.top);
    std::printf("client=%ld,%ld\n", client.right, client.bottom);
    std::printf("screen=%d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::printf("visible=%d\n", IsWindowVisible(first) ? 1 : 0);
    std::printf("iconic=%d\n", IsIconic(first) ? 1 : 0);
    std::printf("foreground=%d\n", GetForegroundWindow() == first ? 1 : 0);
    // A message box's text is its static control 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(first, 0xFFFF, text, sizeof text);
    // Line breaks (CR LF or LF) are shown as one "|".
    char* out = text;
    for (const char* c = text; *c; ++c) {
        if (*c == '\r') continue;
        *out++ = *c == '\n' ? '|' : *c;
    }
    *out = '\0';
    std::printf("text=%s\n", text);
    char className[64] = {};
    GetClassNameA(first, className, sizeof className);
    std::printf("class=%s\n", className);
    return 0;
}
