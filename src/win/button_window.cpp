#include "win/button_window.h"

namespace {
const char kObjectProperty[] = "discscreen.button";
}

ButtonWindow::~ButtonWindow() { DestroyChild(); }

bool ButtonWindow::CreateChild(HWND parent, DWORD style, DWORD exStyle, int x, int y, int width,
                               int height, int id) {
    window_ = CreateWindowExA(exStyle, "BUTTON", "", style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_) return false;
    SetPropA(window_, kObjectProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonWindow::SubclassProc)));
    return true;
}

void ButtonWindow::DestroyChild() {
    HWND window = window_;
    if (!window) return;
    Release();
    DestroyWindow(window);
}

// Gives the window back to its class and forgets it. Windows 95 wants a
// window's properties removed before the window goes; the handle is not
// touched again afterwards, so a handle the system reuses is never ours.
void ButtonWindow::Release() {
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
    RemovePropA(window, kObjectProperty);
}

ButtonWindow* ButtonWindow::FromHandle(HWND window) {
    return window ? static_cast<ButtonWindow*>(GetPropA(window, kObjectProperty)) : nullptr;
}

LRESULT ButtonWindow::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(classProc_, window_, message, wParam, lParam);
}

LRESULT CALLBACK ButtonWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    ButtonWindow* self = FromHandle(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window dies with its parent (or by DestroyWindow): the object
        // lets go of it here, the last message the window gets.
        WNDPROC classProc = self->classProc_;
        self->Release();
        return CallWindowProcA(classProc, window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (self->DispatchMessageTable(message, wParam, lParam, &result)) return result;
    return self->CallDefault(message, wParam, lParam);
}
