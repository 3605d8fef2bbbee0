#include "win/dialog_window.h"

#include "win/button_window.h"

INT_PTR DialogWindow::RunModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_,
                           &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::CreateModeless(HWND owner) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                              &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void DialogWindow::DestroyModeless() {
    HWND window = window_;
    if (!window) return;
    Forget(window);
    DestroyWindow(window);
}

// Unties the object from the window, so that nothing acts on the handle
// afterwards.
void DialogWindow::Forget(HWND window) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    window_ = nullptr;
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

// The owner-draw request of one of the program's buttons goes to the
// button's object. True when it went there.
bool DialogWindow::ReflectDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    // Only the program's buttons carry an object; for a menu item the
    // handle is a menu's, which no window has.
    ButtonWindow* button = item ? ButtonWindow::FromHandle(item->hwndItem) : nullptr;
    if (!button) return false;
    button->DrawItem(*item);
    return true;
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
        // The window's last message.
        self->Forget(window);
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
    bool reflected = message == WM_DRAWITEM && ReflectDrawItem(lParam);
    LRESULT result = 0;
    switch (self->DispatchMessageTable(message, wParam, lParam, result)) {
        case kNotInTable:
            return reflected;
        case kDoneThenDefault:
            return FALSE;
        case kDoneDirect:
            return result;
        case kDone:
            break;
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
