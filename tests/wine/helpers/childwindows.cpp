// Lists the child windows of the top-level window titled argv[1], one a
// line, in Z order, for the Wine suites:
//   class=Button style=5001000B exstyle=00000020 id=0 rect=20,20,60,50 visible=1
// The rectangle is in the parent's client coordinates. Exit code 1 when
// there is no such window.
#include <windows.h>

#include <cstdio>

namespace {
HWND parent;

BOOL CALLBACK Visit(HWND child, LPARAM) {
    if (GetParent(child) != parent) return TRUE;
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("class=%s style=%08lX exstyle=%08lX id=%d rect=%ld,%ld,%ld,%ld visible=%d\n",
                className, static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(child, GWL_EXSTYLE)),
                GetDlgCtrlID(child), rect.left, rect.top, rect.right, rect.bottom,
                IsWindowVisible(child) ? 1 : 0);
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    parent = FindWindowA(nullptr, argv[1]);
    if (!parent) return 1;
    EnumChildWindows(parent, &Visit, 0);
    return 0;
}
