#include "ui/message_window.h"

#include "resource.h"

namespace {
INT_PTR CALLBACK NoticeProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

void MessageWindow::Show(HWND owner, const char* text) {
    Destroy();
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGE_WINDOW),
                                 owner, &NoticeProc, 0);
    HWND label = GetDlgItem(window_, IDC_MESSAGE_TEXT);
    SetWindowTextA(label, text ? text : "");
}

void MessageWindow::Destroy() {
    if (!window_) return;
    DestroyWindow(window_);
    window_ = nullptr;
}

BlockSize MessageWindow::MeasureTextBlock(HWND, const char*, int, int) { return BlockSize(); }
