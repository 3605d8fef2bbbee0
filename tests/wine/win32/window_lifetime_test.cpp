// The window classes let go of their windows when the windows die: a button
// window destroyed with its dialog, the dialog itself and a notice box
// owned by the dialog leave their objects without a handle, and destroying
// the objects afterwards makes no call on a dead window; a button that
// destroys itself in its handler is not handled further. The dialog passes
// owner-draw requests to the button's object and returns colour answers
// as they are.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "kit/check.h"
#include "resource.h"
#include "ui/launch_notice_win.h"
#include "win/button_window.h"
#include "win/dialog_window.h"

namespace {
// A button that counts the owner-draw requests reflected to it.
class CountingButton : public ButtonWindow {
public:
    int drawn = 0;
    void DrawItem(const DRAWITEMSTRUCT&) override { ++drawn; }
};

class ProbeDialog : public DialogWindow {
public:
    ProbeDialog();
    std::unique_ptr<CountingButton> button{new CountingButton()};
    LaunchNotice notice;
    HWND buttonWindow = nullptr;
    HWND noticeWindow = nullptr;
    HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
    int drawRequestsReflected = 0;
    LRESULT colourAnswer = 0;

protected:
    bool OnInitDialog() override {
        button->CreateChild(Handle(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 20, 20, 0);
        buttonWindow = button->Handle();
        notice.Show(Handle(), "Installing");
        noticeWindow = notice.Handle();
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = buttonWindow;
        int drawnBefore = button->drawn;
        SendMessageA(Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        drawRequestsReflected = button->drawn - drawnBefore;
        colourAnswer = SendMessageA(Handle(), WM_CTLCOLORDLG, 0, 0);
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return true;
    }

private:
    void OnClose() { EndDialog(Handle(), IDOK); }
    HBRUSH OnControlColour(HDC, HWND) { return brush; }
};

ProbeDialog::ProbeDialog() : DialogWindow(IDD_SCREEN, nullptr) {
    UseMessages(this, MessageTable<ProbeDialog, On<WM_CLOSE, &ProbeDialog::OnClose, kThenDefault>,
                                   On<WM_CTLCOLORDLG, &ProbeDialog::OnControlColour>>());
}

// A button that destroys its own window in a handler after which the
// message would go on to the button class.
class SelfDestroyingButton : public ButtonWindow {
public:
    SelfDestroyingButton() {
        using Self = SelfDestroyingButton;
        UseMessages(this, MessageTable<Self, On<WM_KEYUP, &Self::OnKeyUp, kThenDefault>>());
    }

private:
    void OnKeyUp(UINT) { DestroyWindow(Handle()); }
};

// The BUTTON class's procedure, watched: the calls it gets for windows that
// are gone.
WNDPROC buttonClassProc = nullptr;
int callsForDeadWindows = 0;
LRESULT CALLBACK WatchedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) ++callsForDeadWindows;
    return CallWindowProcA(buttonClassProc, window, message, wParam, lParam);
}
}  // namespace

int main() {
    ProbeDialog dialog;
    dialog.RunModal();
    CHECK(dialog.buttonWindow != nullptr, "the button window was made");
    CHECK(dialog.noticeWindow != nullptr, "the notice box was made");
    CHECK(!IsWindow(dialog.buttonWindow), "the button window died with the dialog");
    CHECK(dialog.button->Handle() == nullptr, "the button object forgot its dead window");
    CHECK(dialog.Handle() == nullptr, "the dialog object forgot its dead window");
    CHECK(dialog.notice.Handle() == nullptr, "the notice object forgot its dead box");
    CHECK(dialog.drawRequestsReflected == 1,
          "the dialog's owner-draw request reached the button's object");
    CHECK(dialog.colourAnswer == reinterpret_cast<LRESULT>(dialog.brush),
          "the dialog's colour answer is returned as the brush itself");

    SetLastError(0);
    dialog.button.reset();
    dialog.notice.Destroy();
    DWORD error = GetLastError();
    CHECK(error == 0,
          "releasing the objects touches no dead window (error " + std::to_string(error) + ")");

    // A button destroyed on its own, while its parent lives on.
    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ButtonWindow alone;
    alone.CreateChild(parent, WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 20, 20, 0);
    HWND aloneWindow = alone.Handle();
    alone.DestroyChild();
    CHECK(aloneWindow && !IsWindow(aloneWindow) && alone.Handle() == nullptr,
          "a button destroyed by its object is gone and forgotten");

    // A button whose handler destroys its window: the message goes no further.
    HWND probe = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    buttonClassProc = reinterpret_cast<WNDPROC>(
        SetClassLongPtrA(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedButtonProc)));
    DestroyWindow(probe);
    SelfDestroyingButton doomed;
    doomed.CreateChild(parent, WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 20, 20, 0);
    HWND doomedWindow = doomed.Handle();
    SendMessageA(doomedWindow, WM_KEYUP, VK_SPACE, 0);
    CHECK(doomedWindow && !IsWindow(doomedWindow) && doomed.Handle() == nullptr,
          "a button that destroyed itself in its handler is gone and forgotten");
    CHECK(callsForDeadWindows == 0, "the button class got no message for the destroyed button (" +
                                        std::to_string(callsForDeadWindows) + ")");
    DestroyWindow(parent);

    std::printf("done\n");
    return kit::ExitStatus();
}
