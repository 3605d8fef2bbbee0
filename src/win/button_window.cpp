#include "win/button_window.h"

namespace {
const char kObjectProperty[] = "discscreen.button";
}

ButtonWindow::~ButtonWindow() { DestroyChild(); }

// The object is found through a property of the window, set before the
// window is subclassed, so that the subclass procedure always finds it.
bool ButtonWindow::CreateChild(HWND parent, DWORD style, DWORD exStyle, int x, int y, int width,
                               int height, int id) {
    HWND window = CreateWindowExA(exStyle, "BUTTON", "", style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return false;
    if (SetPropA(window, kObjectProperty, this)) {
        classProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonWindow::SubclassProc)));
        if (classProc_) {
            window_ = window;
            return true;
        }
        RemovePropA(window, kObjectProperty);
    }
    DestroyWindow(window);
    return false;
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

LRESULT CALLBACK ButtonWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    ButtonWindow* self = FromHandle(window);
    // Only a window whose property is set is subclassed, and Release gives
    // the window back before it removes the property.
    if (!self) return 0;
    WNDPROC classProc = self->classProc_;
    if (message == WM_NCDESTROY) {
        // The window dies with its parent (or by DestroyWindow): the object
        // lets go of it here, the last message the window gets.
        self->Release();
        return CallWindowProcA(classProc, window, message, wParam, lParam);
    }
    LRESULT result = 0;
    MessageDisposition disposition = self->DispatchMessageTable(message, wParam, lParam, result);
    if (disposition == kDone || disposition == kDoneDirect) return result;
    // A handler may have destroyed the window, and with it perhaps the
    // object: neither is touched then.
    if (disposition == kDoneThenDefault && !IsWindow(window)) return result;
    return CallWindowProcA(classProc, window, message, wParam, lParam);
}
