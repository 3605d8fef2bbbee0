// The yardstick of the start-up benchmark: the least a screen program can
// do. A dialog from an empty in-memory template, sized to one bitmap file
// (LoadImage), centred, painting that bitmap. Usage: bare_screen TITLE FILE
#include <windows.h>

#include <cstring>

namespace {
HBITMAP picture;
BITMAP size;
const char* title;

INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowTextA(window, title);
            RECT frame = {0, 0, size.bmWidth, size.bmHeight};
            AdjustWindowRectEx(&frame, GetWindowLongA(window, GWL_STYLE), FALSE,
                               GetWindowLongA(window, GWL_EXSTYLE));
            int w = frame.right - frame.left;
            int h = frame.bottom - frame.top;
            SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, SWP_NOZORDER);
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC target = BeginPaint(window, &paint);
            HDC source = CreateCompatibleDC(target);
            HGDIOBJ old = SelectObject(source, picture);
            BitBlt(target, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
            EndPaint(window, &paint);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(window, 0);
            return TRUE;
    }
    return FALSE;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    title = argv[1];
    picture = static_cast<HBITMAP>(LoadImageA(nullptr, argv[2], IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture) return 3;
    GetObjectA(picture, sizeof size, &size);
    // An empty DLGTEMPLATE: popup, visible, modal frame, no controls.
    alignas(4) static WORD block[16] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(block);
    dialog->style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME;
    dialog->cx = 200;
    dialog->cy = 50;
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog, nullptr, &Proc, 0);
    return 0;
}
