// Message sequences of the screen's buttons and of the dialog they sit on,
// in the manner of Wine's own message tests: the messages each window
// receives are recorded in order, together with the calls the buttons make
// on their screen (a fake one here), and compared with a table per
// behaviour. Input that the buttons judge by the system's key state comes
// as real input; the rest is sent or posted.
// Prints "ok WHAT" or "FAIL WHAT" a line; exits 1 when anything failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "resource.h"
#include "ui/button_screen.h"
#include "ui/hot_button.h"
#include "win/dialog_window.h"
#include "win/machine_win.h"

// Posted once the dialog is up: runs the cases.
constexpr UINT kRunCases = WM_APP + 10;
template <> struct MessageCracker<kRunCases> : NoArgumentCracker {};

namespace {
int failures = 0;

void Check(bool good, const std::string& what) {
    std::printf("%s %s\n", good ? "ok" : "FAIL", what.c_str());
    if (!good) ++failures;
}

// --- The recorder: a subclass above each window's own procedure.

std::vector<std::string> recorded;
struct Watched {
    std::string role;
    WNDPROC next;
};
std::map<HWND, Watched> watched;

// The messages that the tables speak of; everything else (painting, hit
// tests, cursor, mouse moves, characters, dialog codes) is noise here.
#define NAMED(message) {message, #message}
const struct {
    UINT message;
    const char* name;
} kRecorded[] = {NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP), NAMED(WM_LBUTTONDBLCLK),
                 NAMED(WM_KEYDOWN),     NAMED(WM_KEYUP),     NAMED(WM_SETFOCUS),
                 NAMED(WM_KILLFOCUS),   NAMED(WM_CLOSE),     NAMED(WM_DESTROY),
                 NAMED(WM_NCDESTROY)};

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const auto& named : kRecorded) {
        if (named.message != message) continue;
        std::string entry = watched[window].role + " " + named.name;
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            entry += wParam == VK_RETURN ? " Enter" : wParam == VK_SPACE ? " Space" : " Escape";
        }
        recorded.push_back(entry);
    }
    return CallWindowProcA(watched[window].next, window, message, wParam, lParam);
}

void Watch(HWND window, const std::string& role) {
    auto recording = reinterpret_cast<LONG_PTR>(&RecordingProc);
    LONG_PTR next = SetWindowLongPtrA(window, GWLP_WNDPROC, recording);
    watched[window] = {role, reinterpret_cast<WNDPROC>(next)};
}

// Compares the record with the expected entries; an entry that begins with
// "?" may be missing, as Wine's tests mark optional messages.
void ExpectSequence(const std::vector<std::string>& expected, const std::string& what) {
    std::size_t next = 0;
    bool good = true;
    for (const std::string& entry : expected) {
        bool optional = entry[0] == '?';
        std::string wanted = optional ? entry.substr(1) : entry;
        if (next < recorded.size() && recorded[next] == wanted) {
            ++next;
        } else if (!optional) {
            good = false;
        }
    }
    good = good && next == recorded.size();
    Check(good, what);
    if (good) return;
    std::printf("    %-34s %s\n", "expected", "recorded");
    for (std::size_t i = 0; i < expected.size() || i < recorded.size(); ++i) {
        std::printf("    %-34s %s\n", i < expected.size() ? expected[i].c_str() : "",
                    i < recorded.size() ? recorded[i].c_str() : "");
    }
}

// The expected entries of a case, written as one list parted by ", ".
std::vector<std::string> Entries(const std::string& list) {
    std::vector<std::string> entries;
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t end = std::min(list.find(", ", at), list.size());
        entries.push_back(list.substr(at, end - at));
        at = end + 2;
    }
    return entries;
}

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
    int kind;
    int state;
    int option;
};
enum { kPush, kNext, kCheck, kDisabled, kOk, kExit, kSlots };
const Slot kSlotsMade[kSlots] = {
    {"push", kPushButton, kStateNormal, 0},     {"next", kPushButton, kStateNormal, 0},
    {"check", kCheckBox, kStateNormal, 0},      {"disabled", kPushButton, kStateDisabled, 0},
    {"ok", kOkButton, kStateNormal, 1},         {"exit", kExitButton, kStateNormal, 0},
};

const Case kCases[] = {
    // The mouse and the focus.
    {"press and release start a push button once", kPush, {{kDown}, {kUp}},
     "push WM_LBUTTONDOWN, push WM_LBUTTONUP, screen StartPushButton push"},
    {"a double click starts it once", kPush, {{kClick}, {kClick}},
     "push WM_LBUTTONDOWN, push WM_LBUTTONUP, screen StartPushButton push, "
     "push WM_LBUTTONDBLCLK, push WM_LBUTTONUP"},
    {"pressed, then the focus moves away: the release starts nothing", kPush,
     {{kDown}, {kFocus, kNext}, {kUp}},
     "push WM_LBUTTONDOWN, push WM_KILLFOCUS, next WM_SETFOCUS, screen SetFocusButton next, "
     "push WM_LBUTTONUP"},
    {"Space held, then the focus moves away: the mouse is let go", kPush,
     {{kKeyDown, VK_SPACE}, {kMoveAway}, {kFocus, kDisabled}, {kKeyUp, VK_SPACE}},
     "push WM_KEYDOWN Space, push WM_KILLFOCUS, disabled WM_SETFOCUS, "
     "screen SetFocusButton disabled, disabled WM_KEYUP Space"},
    // The keyboard, through the dialog manager.
    {"Enter goes to the dialog's OK and starts the button on release", kPush, {{kKey, VK_RETURN}},
     "dialog OnOK, push WM_KEYUP Enter, screen StartPushButton push"},
    {"a key release without a press starts nothing", kPush,
     {{kPostKeyUp, VK_RETURN}, {kPostKeyUp, VK_SPACE}}, "push WM_KEYUP Enter, push WM_KEYUP Space"},
    {"Escape goes to the dialog's Cancel", kPush, {{kKey, VK_ESCAPE}},
     "dialog OnCancel, push WM_KEYUP Escape"},
    // Check boxes, disabled, OK and exit buttons.
    {"a click checks a check box", kCheck, {{kClick}},
     "check WM_LBUTTONDOWN, check WM_LBUTTONUP, check state 1"},
    {"Space unchecks it", kCheck, {{kKey, VK_SPACE}},
     "check WM_KEYDOWN Space, check WM_KEYUP Space, check state 0"},
    {"a double click checks it once", kCheck, {{kClick}, {kClick}},
     "check WM_LBUTTONDOWN, check WM_LBUTTONUP, check WM_LBUTTONDBLCLK, check WM_LBUTTONUP, "
     "check state 1"},
    {"a disabled button ignores clicks, Enter and Space", kDisabled,
     {{kClick}, {kKey, VK_RETURN}, {kKey, VK_SPACE}},
     "disabled WM_LBUTTONDOWN, disabled WM_LBUTTONUP, dialog OnOK, disabled WM_KEYUP Enter, "
     "disabled WM_KEYDOWN Space, disabled WM_KEYUP Space"},
    {"the OK button starts the chain", kOk, {{kClick}},
     "ok WM_LBUTTONDOWN, ok WM_LBUTTONUP, screen StartChain 1"},
    {"the exit button closes the screen as Escape does", kExit, {{kClick}},
     "exit WM_LBUTTONDOWN, exit WM_LBUTTONUP, dialog WM_CLOSE, dialog OnCancel"},
};

// The fake screen records what the buttons ask of it.
class ScreenDialog : public DialogWindow, public ButtonScreen {
public:
    ScreenDialog();

    HWND Surface() const override { return Handle(); }
    const DibBitmap* Background() const override { return nullptr; }
    void SetFocusButton(HotButton* button) override {
        recorded.push_back(std::string("screen SetFocusButton ") + RoleOfItem(button->Item()));
    }
    void StartPushButton(ScreenItem& item) override {
        recorded.push_back(std::string("screen StartPushButton ") + RoleOfItem(item));
    }
    void StartChain(int closeAfterChain) override {
        recorded.push_back("screen StartChain " + std::to_string(closeAfterChain));
    }

    WinMachine machine;
    ScreenItem items[kSlots];
    std::unique_ptr<HotButton> buttons[kSlots];

protected:
    bool OnInitDialog() override {
        Watch(Handle(), "dialog");
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
            Watch(buttons[i]->Handle(), kSlotsMade[i].role);
        }
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 10 + 45 * kSlots, 80, SWP_NOMOVE);
        PostMessageA(Handle(), kRunCases, 0, 0);
        return true;
    }
    void OnOK() override { recorded.push_back("dialog OnOK"); }
    void OnCancel() override { recorded.push_back("dialog OnCancel"); }

private:
    const char* RoleOfItem(const ScreenItem& item) const { return kSlotsMade[&item - items].role; }
    void Pump(DWORD milliseconds);
    void Perform(const Step& step);
    void RunCase(const Case& test);
    void OnRunCases() {
        SetForegroundWindow(Handle());
        Pump(200);
        for (const Case& test : kCases) RunCase(test);
        recorded.clear();
        EndDialog(Handle(), 0);
    }
};

ScreenDialog::ScreenDialog() : DialogWindow(IDD_SCREEN, nullptr) {
    UseMessages(this, MessageTable<ScreenDialog, On<kRunCases, &ScreenDialog::OnRunCases>>());
}

// The dialog manager's own loop, as the modal loop runs it.
void ScreenDialog::Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(Handle(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

void ScreenDialog::Perform(const Step& step) {
    BYTE key = static_cast<BYTE>(step.arg);
    switch (step.op) {
        case kMoveAway: MoveMouseTo(GetFocus(), true); break;
        case kClick: mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0); Pump(30); [[fallthrough]];
        case kUp: mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); break;
        case kDown: mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0); break;
        case kKey: Key(key, 0); Pump(30); [[fallthrough]];
        case kKeyUp: Key(key, KEYEVENTF_KEYUP); break;
        case kKeyDown: Key(key, 0); break;
        case kPostKeyUp: PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001); break;
        case kFocus: SetFocus(buttons[step.arg]->Handle()); break;
    }
    Pump(60);
}

void ScreenDialog::RunCase(const Case& test) {
    HWND button = buttons[test.button]->Handle();
    // Coming from the background, the pointer's arrival is a move. The wait
    // keeps the case's first click from pairing with the last case's into a
    // double click.
    MoveMouseTo(button, true);
    Pump(60);
    MoveMouseTo(button);
    Pump(GetDoubleClickTime() + 100);
    // The pointer moving onto a button gives it the focus.
    if (GetFocus() != button) {
        Check(false, std::string(test.what) + ": the pointer gave the button the focus");
        return;
    }
    // Key presses from before the case are forgotten.
    GetAsyncKeyState(VK_RETURN);
    GetAsyncKeyState(VK_SPACE);
    recorded.clear();
    for (const Step& step : test.steps) Perform(step);
    Pump(150);
    if (test.button == kCheck) {
        recorded.push_back("check state " + std::to_string(items[kCheck].state));
    }
    HWND captive = GetCapture();
    if (captive) recorded.push_back("mouse captured by " + watched[captive].role);
    ExpectSequence(Entries(test.expected), test.what);
}
}  // namespace

int main() {
    ScreenDialog dialog;
    dialog.RunModal();

    // Ending the dialog destroys the buttons with it; the focus may move
    // on the way.
    std::string destruction = "?exit WM_KILLFOCUS, ?dialog WM_SETFOCUS, ?dialog WM_KILLFOCUS, "
                              "dialog WM_DESTROY";
    for (const char* message : {" WM_DESTROY", " WM_NCDESTROY"}) {
        for (const Slot& slot : kSlotsMade) destruction += ", " + std::string(slot.role) + message;
    }
    ExpectSequence(Entries(destruction + ", dialog WM_NCDESTROY"),
                   "the dialog's end destroys every button, last of all the dialog");
    bool forgotten = dialog.Handle() == nullptr;
    for (const auto& button : dialog.buttons) forgotten = forgotten && button->Handle() == nullptr;
    Check(forgotten, "the dialog and button objects forgot their dead windows");

    std::printf("done\n");
    return failures ? 1 : 0;
}
