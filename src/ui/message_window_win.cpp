#include "ui/message_window_win.h"

#include <cstring>

#include "resource.h"

// The box is owned by the screen and dies with it: on its last message it
// makes its object forget the handle, so that nothing destroys it twice.
INT_PTR CALLBACK MessageWindow::NoticeProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else if (message == WM_NCDESTROY) {
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, DWLP_USER));
        if (self && self->window_ == window) self->window_ = nullptr;
    }
    return FALSE;
}

void MessageWindow::Show(HWND owner, const char* text) {
    Destroy();
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGE_WINDOW),
                                 owner, &MessageWindow::NoticeProc,
                                 reinterpret_cast<LPARAM>(this));
    if (!window_) return;
    HWND label = GetDlgItem(window_, IDC_MESSAGE_TEXT);
    if (!label) return;
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    RECT area;
    GetWindowRect(label, &area);
    BlockSize block = MeasureTextBlock(label, text, area.right - area.left + 1,
                                       area.bottom - area.top + 1);
    RECT box;
    GetWindowRect(window_, &box);
    MoveWindow(label, (box.right - block.width - box.left + 1) / 2,
               (box.bottom - block.height - box.top + 1) / 2, block.width, block.height, TRUE);
    SetWindowTextA(label, text ? text : "");
}

void MessageWindow::Destroy() {
    if (!window_) return;
    DestroyWindow(window_);
    window_ = nullptr;
}

BlockSize MessageWindow::MeasureTextBlock(HWND window, const char* text, int maxWidth,
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
