// Makes the top-level window titled argv[1] repaint itself and all its
// children, as after being uncovered. Exit code 1 when there is none.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (!window) return 1;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}
