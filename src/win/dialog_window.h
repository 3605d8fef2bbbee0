#pragma once
// A dialog made from a template of the program's resources, modal or
// modeless. One static dialog procedure keeps the object in the window's
// user data and forwards to virtual hooks and the class's message table;
// unhandled messages get the dialog manager's handling. An owner-draw
// request goes first to the object of the child that asks (a ButtonWindow
// draws itself), then to the table.
#include <windows.h>

#include <atomic>

#include "win/message_table.h"

class DialogWindow : public MessageTarget {
public:
    DialogWindow(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

    INT_PTR RunModal();
    // Makes the dialog as a modeless window owned by `owner`; false when it
    // could not be made.
    bool CreateModeless(HWND owner);
    // Destroys a modeless dialog without running its handlers: the object
    // lets go of the window first.
    void DestroyModeless();
    // The dialog's window; null before it is made and once it has been
    // destroyed. Worker threads read it too.
    HWND Handle() const { return window_.load(); }

    // The dialog procedure handles these itself: the first through
    // OnInitDialog, the last by letting go of the window.
    static constexpr bool HandlesFirst(UINT message) {
        return message == WM_INITDIALOG || message == WM_NCDESTROY;
    }

protected:
    // Dialogs are owned as what they are, never through this base.
    ~DialogWindow() { DestroyModeless(); }

    // Return value as for WM_INITDIALOG: true lets the dialog manager set the focus.
    virtual bool OnInitDialog() { return true; }
    // The buttons IDOK and IDCANCEL, and Enter and Escape.
    virtual void OnOK() { EndDialog(window_, IDOK); }
    virtual void OnCancel() { EndDialog(window_, IDCANCEL); }
    // Centre the dialog on the desktop after initialisation, unless
    // initialisation moved its top-left corner.
    void CentreAfterInit(bool centre) { centreAfterInit_ = centre; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool ReflectDrawItem(LPARAM lParam);
    INT_PTR InitDialog();
    void Forget(HWND window);

    int templateId_;
    HWND parent_;
    std::atomic<HWND> window_{nullptr};
    bool centreAfterInit_ = false;
};
