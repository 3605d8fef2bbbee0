#pragma once
// A dialog made from a template of the program's resources. One static
// dialog procedure keeps the object in the window's user data and forwards to
// virtual hooks and the class's message table; unhandled messages get the
// dialog manager's handling.
#include <windows.h>

#include <atomic>

#include "win/message_table.h"

class DialogWindow : public MessageTarget {
public:
    DialogWindow(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~DialogWindow() = default;

    INT_PTR RunModal();
    // The dialog's window; null before it is made and once it has been
    // destroyed. Worker threads read it too.
    HWND Handle() const { return window_.load(); }

protected:
    // Return value as for WM_INITDIALOG: true lets the dialog manager set the focus.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(window_, IDOK); }
    virtual void OnCancel() { EndDialog(window_, IDCANCEL); }
    // Centre the dialog on the desktop after initialisation, unless
    // initialisation moved its top-left corner.
    void CentreAfterInit(bool centre) { centreAfterInit_ = centre; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR InitDialog();

    int templateId_;
    HWND parent_;
    std::atomic<HWND> window_{nullptr};
    bool centreAfterInit_ = false;
};
