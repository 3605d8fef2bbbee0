#include "win/dialog_window.h"

INT_PTR DialogWindow::RunModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_,
                           &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR DialogWindow::InitDialog() {
    RECT before;
    GetWindowRect(window_, &before);
    INT_PTR result = OnInitDialog() ? TRUE : FALSE;
    RECT after;
    if (centreAfterInit_ && IsWindow(window_) && GetWindowRect(window_, &after) &&
        after.left == before.left && after.top == before.top) {
        int width = after.right - after.left;
        int height = after.bottom - after.top;
        SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->InitDialog();
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        // The window's last message: the object forgets it, so that nothing
        // acts on the handle afterwards.
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->window_ = nullptr;
        return FALSE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {
        if (LOWORD(wParam) == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
    }
    LRESULT result = 0;
    if (!self->DispatchMessageTable(message, wParam, lParam, &result)) return FALSE;
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
