#include "ui/launch_notice_win.h"

#include <cstring>

#include "resource.h"

// The box is owned by the screen and dies with it.
LaunchNotice::LaunchNotice() : DialogWindow(IDD_LAUNCH_NOTICE, nullptr) {}

void LaunchNotice::Show(HWND owner, const char* text) {
    Destroy();
    if (!CreateModeless(owner)) return;
    HWND box = Handle();
    HWND label = GetDlgItem(box, IDC_MESSAGE_TEXT);
    if (!label) return;
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    RECT area;
    GetWindowRect(label, &area);
    BlockSize block = MeasureTextBlock(label, text, area.right - area.left + 1,
                                       area.bottom - area.top + 1);
    RECT frame;
    GetWindowRect(box, &frame);
    MoveWindow(label, (frame.right - block.width - frame.left + 1) / 2,
               (frame.bottom - block.height - frame.top + 1) / 2, block.width, block.height, TRUE);
    SetWindowTextA(label, text ? text : "");
}

BlockSize LaunchNotice::MeasureTextBlock(HWND window, const char* text, int maxWidth,
                                          int maxHeight) {
    if (!text || !*text || maxWidth <= 0) return BlockSize();
    std::size_t length = std::strlen(text);
    SIZE extent = {0, 0};
    if (HDC context = GetDC(window)) {
        if (!GetTextExtentPoint32A(context, text, static_cast<int>(length), &extent)) {
            extent.cx = extent.cy = 0;
        }
        ReleaseDC(window, context);
    }
    return EstimateTextBlock(std::string(text, length), extent.cx, extent.cy, maxWidth, maxHeight);
}
