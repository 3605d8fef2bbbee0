// Lists the visible top-level windows that Windows knows, one a line, for
// the Wine suites: its class, its title and the texts of its child windows
// joined by "|", tab-separated:
//   class=#32770	title=Setup	texts=Installing the sample	rect=312,234,712,534
// With an argument, only windows whose title or child texts contain it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
const char* wanted = nullptr;

BOOL CALLBACK CollectChild(HWND child, LPARAM texts) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    auto& all = *reinterpret_cast<std::string*>(texts);
    if (!all.empty()) all += '|';
    all += text;
    return TRUE;
}

BOOL CALLBACK Visit(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    char title[512] = {};
    char className[64] = {};
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, className, sizeof className);
    std::string texts;
    EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&texts));
    if (wanted && !std::strstr(title, wanted) && texts.find(wanted) == std::string::npos) return TRUE;
    RECT rect;
    GetWindowRect(window, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("class=%s\ttitle=%s\ttexts=%s\trect=%ld,%ld,%ld,%ld\tpid=%lu\thwnd=%p\n", className,
                title, texts.c_str(), rect.left, rect.top, rect.right, rect.bottom, pid,
                static_cast<void*>(window));
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) wanted = argv[1];
    EnumWindows(&Visit, 0);
    return 0;
}
