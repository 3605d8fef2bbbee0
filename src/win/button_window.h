#pragma once
// A child window of the system's BUTTON class whose messages reach this
// object first (the window is subclassed); unhandled ones go on to the
// class's own procedure. The messages the object handles are those of its
// class's message table.
#include <windows.h>

#include "win/message_table.h"

class ButtonWindow : public MessageTarget {
public:
    ButtonWindow() = default;
    virtual ~ButtonWindow();

    // False when the window could not be made or not be tied to the object;
    // no window is left then.
    bool CreateChild(HWND parent, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                     int id);
    void DestroyChild();
    // The window, or null once it has been destroyed (by DestroyChild or
    // with its parent).
    HWND Handle() const { return window_; }
    // The owner-draw request, reflected here by a DialogWindow parent.
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    // The object behind a window made by CreateChild, or null.
    static ButtonWindow* FromHandle(HWND window);

    // The window's last message, on which the object lets go of it.
    static constexpr bool HandlesFirst(UINT message) { return message == WM_NCDESTROY; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Release();

    HWND window_ = nullptr;
    WNDPROC classProc_ = nullptr;
};
