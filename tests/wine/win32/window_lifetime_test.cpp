// The window classes let go of their windows when the windows die: a button
// window destroyed with its dialog, the dialog itself and a notice box
// owned by the dialog leave their objects without a handle, and destroying
// the objects afterwards makes no call on a dead window.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "kit/check.h"
#include "resource.h"
#include "ui/message_window_win.h"
#include "win/button_window.h"
#include "win/dialog_window.h"

namespace {
class ProbeDialog : public DialogWindow {
public:
    ProbeDialog();
    std::unique_ptr<ButtonWindow> button{new ButtonWindow()};
    MessageWindow notice;
    HWND buttonWindow = nullptr;
    HWND noticeWindow = nullptr;

protected:
    bool OnInitDialog() override {
        button->CreateChild(Handle(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 20, 20, 0);
        buttonWindow = button->Handle();
        notice.Show(Handle(), "Installing");
        noticeWindow = notice.Handle();
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return true;
    }

private:
    void OnClose() { EndDialog(Handle(), IDOK); }
    static const MessageEntry kMessages[];
};

const MessageEntry ProbeDialog::kMessages[] = {
    {WM_CLOSE, Crack<&ProbeDialog::OnClose>, kThenDefault},  // void OnClose()
};

ProbeDialog::ProbeDialog() : DialogWindow(IDD_SCREEN, nullptr) { UseMessages(kMessages); }
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
    DestroyWindow(parent);

    std::printf("done\n");
    return kit::ExitStatus();
}
