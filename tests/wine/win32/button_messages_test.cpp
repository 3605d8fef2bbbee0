// Message sequences of the screen's buttons and of the dialog they sit on,
// in the manner of Wine's own message tests: the messages each window
// receives are recorded in order, together with the calls the buttons make
// on their screen (a fake one here), and compared with a table per
// behaviour. Input that the buttons judge by the system's key state comes
// as real input; the rest is sent or posted.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kit/check.h"
#include "kit/message_log_win.h"
#include "kit/waiting_win.h"
#include "resource.h"
#include "ui/button_host_win.h"
#include "ui/hot_button_win.h"
#include "win/dialog_window.h"
#include "win/machine_win.h"

// Posted once the dialog is up: runs the cases.
constexpr UINT kRunCases = WM_APP + 10;
template <> struct MessageCracker<kRunCases> : NoArgumentCracker {};

namespace {
// --- Real input through the system's input queue.

// To the middle of a window, or with below set under it.
void MoveMouseTo(HWND window, bool below = false) {
    RECT rect;
    GetWindowRect(window, &rect);
    int x = (rect.left + rect.right) / 2;
    int y = below ? rect.bottom + 15 : (rect.top + rect.bottom) / 2;
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1),
                y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1), 0, 0);
}

void Key(BYTE key, DWORD flags) {
    keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, 0)), flags, 0);
}

// --- The screen: a dialog of the program's template with a row of buttons.

enum Op { kMoveAway, kClick, kDown, kUp, kKey, kKeyDown, kKeyUp, kPostKeyUp, kFocus };
struct Step {
    Op op;
    int arg = 0;  // a key, or a button's index
};
struct Case {
    const char* what;
    int button;  // the index of the button that holds the focus first
    std::vector<Step> steps;
    const char* expected;  // entries parted by ", "
};

struct Slot {
    const char* role;
    ButtonKind kind;
    int state;
    int option;
};
enum { kPush, kNext, kCheck, kDisabled, kOk, kExit, kSlots };
const Slot kSlotsMade[kSlots] = {
    {"push", ButtonKind::kPush, kStateNormal, 0},
    {"next", ButtonKind::kPush, kStateNormal, 0},
    {"check", ButtonKind::kCheckBox, kUnchecked, 0},
    {"disabled", ButtonKind::kPush, kStateDisabled, 0},
    {"ok", ButtonKind::kOk, kStateNormal, 1},
    {"exit", ButtonKind::kExit, kStateNormal, 0},
};

// Input arrives posted; focus changes, the dialog manager's commands and
// what the BUTTON class does with the messages the buttons pass on to it
// ("default") arrive sent.
const Case kCases[] = {
    // The mouse and the focus.
    {"press and release start a push button once",
     kPush,
     {{kDown}, {kUp}},
     "push WM_LBUTTONDOWN posted, push WM_LBUTTONUP posted, screen StartPushButton push"},
    {"a double click starts it once",
     kPush,
     {{kClick}, {kClick}},
     "push WM_LBUTTONDOWN posted, push WM_LBUTTONUP posted, screen StartPushButton push, "
     "push WM_LBUTTONDBLCLK posted, dialog WM_COMMAND id 0 code 5 default, "
     "push WM_LBUTTONUP posted"},
    {"pressed, then the focus moves away: the release starts nothing",
     kPush,
     {{kDown}, {kFocus, kNext}, {kUp}},
     "push WM_LBUTTONDOWN posted, push WM_KILLFOCUS, next WM_SETFOCUS, "
     "screen SetFocusButton next, push WM_LBUTTONUP posted"},
    {"Space held, then the focus moves away: the mouse is let go",
     kPush,
     {{kKeyDown, VK_SPACE}, {kMoveAway}, {kFocus, kDisabled}, {kKeyUp, VK_SPACE}},
     "push WM_KEYDOWN Space posted, push BM_SETSTATE default, push WM_KILLFOCUS, "
     "push WM_CAPTURECHANGED, push BM_SETSTATE default, disabled WM_SETFOCUS, "
     "screen SetFocusButton disabled, disabled WM_KEYUP Space posted"},
    // The keyboard, through the dialog manager.
    {"Enter goes to the dialog's OK and starts the button on release",
     kPush,
     {{kKey, VK_RETURN}},
     "dialog WM_COMMAND id 1 code 0, dialog OnOK, push WM_KEYUP Enter posted, "
     "screen StartPushButton push"},
    {"a key release without a press starts nothing",
     kPush,
     {{kPostKeyUp, VK_RETURN}, {kPostKeyUp, VK_SPACE}},
     "push WM_KEYUP Enter posted, push WM_KEYUP Space posted"},
    {"Escape goes to the dialog's Cancel",
     kPush,
     {{kKey, VK_ESCAPE}},
     "dialog WM_COMMAND id 2 code 0, dialog OnCancel, push WM_KEYUP Escape posted"},
    // Check boxes, disabled, OK and exit buttons.
    {"a click checks a check box",
     kCheck,
     {{kClick}},
     "check WM_LBUTTONDOWN posted, check WM_LBUTTONUP posted, check state 1"},
    {"Space unchecks it",
     kCheck,
     {{kKey, VK_SPACE}},
     "check WM_KEYDOWN Space posted, check BM_SETSTATE default, check WM_KEYUP Space posted, "
     "check BM_SETSTATE default, check WM_CAPTURECHANGED default, "
     "dialog WM_COMMAND id 0 code 0 default, check state 0"},
    {"a double click checks it once",
     kCheck,
     {{kClick}, {kClick}},
     "check WM_LBUTTONDOWN posted, check WM_LBUTTONUP posted, check WM_LBUTTONDBLCLK posted, "
     "dialog WM_COMMAND id 0 code 5 default, check WM_LBUTTONUP posted, check state 1"},
    {"a disabled button ignores clicks, Enter and Space",
     kDisabled,
     {{kClick}, {kKey, VK_RETURN}, {kKey, VK_SPACE}},
     "disabled WM_LBUTTONDOWN posted, disabled WM_LBUTTONUP posted, "
     "dialog WM_COMMAND id 1 code 0, dialog OnOK, disabled WM_KEYUP Enter posted, "
     "disabled WM_KEYDOWN Space posted, disabled BM_SETSTATE default, "
     "disabled WM_KEYUP Space posted, disabled BM_SETSTATE default, "
     "disabled WM_CAPTURECHANGED default, dialog WM_COMMAND id 0 code 0 default"},
    {"the OK button starts the chain",
     kOk,
     {{kClick}},
     "ok WM_LBUTTONDOWN posted, ok WM_LBUTTONUP posted, screen StartChain 1"},
    {"the exit button closes the screen as Escape does",
     kExit,
     {{kClick}},
     "exit WM_LBUTTONDOWN posted, exit WM_LBUTTONUP posted, dialog WM_CLOSE posted, "
     "dialog WM_COMMAND id 2 code 0 posted, dialog OnCancel"},
};

// The fake screen records what the buttons ask of it.
class ScreenDialog : public DialogWindow, public ButtonHost {
public:
    ScreenDialog();

    HWND ScreenWindow() const override { return Handle(); }
    const DibBitmap* Background() const override { return nullptr; }
    void SetFocusButton(HotButton* button) override {
        kit::Note(std::string("screen SetFocusButton ") + RoleOfItem(button->Item()));
    }
    void StartPushButton(ScreenItem& item) override {
        kit::Note(std::string("screen StartPushButton ") + RoleOfItem(item));
    }
    void StartChain(int closeAfterChain) override {
        kit::Note("screen StartChain " + std::to_string(closeAfterChain));
    }

    WinMachine machine;
    ScreenItem items[kSlots];
    std::unique_ptr<HotButton> buttons[kSlots];

protected:
    bool OnInitDialog() override {
        kit::Watch(Handle(), "dialog");
        for (int i = 0; i < kSlots; ++i) {
            items[i].kind = kSlotsMade[i].kind;
            items[i].state = kSlotsMade[i].state;
            items[i].option = kSlotsMade[i].option;
            items[i].windowX = 10 + 45 * i;
            items[i].windowY = 10;
            items[i].windowWidth = 40;
            items[i].windowHeight = 30;
            buttons[i].reset(new HotButton(*this, items[i], machine));
            buttons[i]->CreateButtonWindow();
            kit::Watch(buttons[i]->Handle(), kSlotsMade[i].role);
        }
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 10 + 45 * kSlots, 80, SWP_NOMOVE);
        PostMessageA(Handle(), kRunCases, 0, 0);
        return true;
    }
    void OnOK() override { kit::Note("dialog OnOK"); }
    void OnCancel() override { kit::Note("dialog OnCancel"); }

private:
    const char* RoleOfItem(const ScreenItem& item) const { return kSlotsMade[&item - items].role; }
    void Flush() { kit::FlushUntilIdle(Handle()); }
    void Perform(const Step& step);
    void RunCase(const Case& test);
    void OnRunCases() {
        SetForegroundWindow(Handle());
        Flush();
        for (const Case& test : kCases) RunCase(test);
        kit::ClearLog();
        EndDialog(Handle(), 0);
    }
};

ScreenDialog::ScreenDialog() : DialogWindow(IDD_SCREEN, nullptr) {
    UseMessages(this, MessageTable<ScreenDialog, On<kRunCases, &ScreenDialog::OnRunCases>>());
}

void ScreenDialog::Perform(const Step& step) {
    BYTE key = static_cast<BYTE>(step.arg);
    switch (step.op) {
        case kMoveAway:
            MoveMouseTo(GetFocus(), true);
            break;
        case kClick:
            mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
            Flush();
            [[fallthrough]];
        case kUp:
            mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
            break;
        case kDown:
            mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
            break;
        case kKey:
            Key(key, 0);
            Flush();
            [[fallthrough]];
        case kKeyUp:
            Key(key, KEYEVENTF_KEYUP);
            break;
        case kKeyDown:
            Key(key, 0);
            break;
        case kPostKeyUp:
            PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
            break;
        case kFocus:
            SetFocus(buttons[step.arg]->Handle());
            break;
    }
    Flush();
}

void ScreenDialog::RunCase(const Case& test) {
    HWND button = buttons[test.button]->Handle();
    // Coming from the background, the pointer's arrival is a move.
    MoveMouseTo(button, true);
    Flush();
    MoveMouseTo(button);
    Flush();
    // An interval on purpose: the double-click time passes, so that the
    // case's first click never pairs with the last case's.
    Sleep(GetDoubleClickTime() + 100);
    Flush();
    // The pointer moving onto a button gives it the focus.
    if (GetFocus() != button) {
        CHECK(false, std::string(test.what) + ": the pointer gave the button the focus");
        return;
    }
    // Key presses from before the case are forgotten.
    GetAsyncKeyState(VK_RETURN);
    GetAsyncKeyState(VK_SPACE);
    kit::ClearLog();
    for (const Step& step : test.steps) Perform(step);
    if (test.button == kCheck) {
        kit::Note("check state " + std::to_string(items[kCheck].state));
    }
    HWND captive = GetCapture();
    if (captive) kit::Note("mouse captured by " + kit::RoleOf(captive));
    CHECK_LOG(test.expected, test.what);
}
}  // namespace

int main() {
    kit::WatchDefaultOf("BUTTON");
    // What the dialog manager asks, painting, activation and characters say
    // nothing of what the buttons do.
    kit::Ignore({WM_GETDLGCODE, WM_GETTEXT, DM_GETDEFID, WM_CTLCOLORBTN, WM_DRAWITEM,
                 WM_MOUSEACTIVATE, WM_PARENTNOTIFY, WM_IME_SETCONTEXT, WM_IME_NOTIFY, WM_CHAR,
                 WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,
                 WM_ACTIVATEAPP});
    ScreenDialog dialog;
    dialog.RunModal();

    // Ending the dialog destroys the buttons with it; the focus may move
    // on the way.
    std::string destruction =
        "?exit WM_KILLFOCUS, ?dialog WM_SETFOCUS, ?dialog WM_KILLFOCUS, "
        "dialog WM_DESTROY";
    for (const char* message : {" WM_DESTROY", " WM_NCDESTROY"}) {
        for (const Slot& slot : kSlotsMade) destruction += ", " + std::string(slot.role) + message;
    }
    CHECK_LOG(destruction + ", dialog WM_NCDESTROY",
              "the dialog's end destroys every button, last of all the dialog");
    bool forgotten = dialog.Handle() == nullptr;
    for (const auto& button : dialog.buttons) forgotten = forgotten && button->Handle() == nullptr;
    CHECK(forgotten, "the dialog and button objects forgot their dead windows");

    std::printf("done\n");
    return kit::ExitStatus();
}
