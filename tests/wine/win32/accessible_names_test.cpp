// The running screen as a screen reader and a keyboard user meet it: each
// button's window text and the name the accessibility layer gives it, a
// check box's role and checked state, then a walk with Tab and Shift+Tab
// and presses of Space, keys only. The screen is the program itself,
// started by the suite with the script that suite_screen.sh writes for
// this case; argv[1] is its title.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kit/check.h"
#include "kit/waiting_win.h"

namespace {
// IID_IAccessible, spelt out: the import library's symbol resolves to code
// when linked before the uuid library.
const IID kAccessibleId = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The button windows in Z order, the order Tab follows.
struct Expected {
    const char* text;  // the window text
    const char* name;  // what a reader speaks
};
const Expected kButtons[] = {
    {"Install the viewer", "Install the viewer"},  // caption with a line break
    {"Not yet", "Not yet"},                        // disabled; its entry comes after slot 3's
    {"Shows the tools", "Shows the tools"},        // no caption: the extra text
    {"", ""},                                      // neither
    {"Keep the samples", "Keep the samples"},      // a check box
    {"Leave && close", "Leave & close"},           // the exit button
};
constexpr int kCheckBoxIndex = 4;
constexpr int kExitIndex = 5;

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The window's description as a reader gets it; null when there is none.
IAccessible* Describe(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kAccessibleId,
                                          reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::string AccessibleName(HWND window) {
    IAccessible* object = Describe(window);
    if (!object) return "(no accessible object)";
    BSTR name = nullptr;
    std::string result;
    if (SUCCEEDED(object->get_accName(Self(), &name)) && name) {
        char bytes[256] = {};
        WideCharToMultiByte(CP_ACP, 0, name, -1, bytes, sizeof bytes, nullptr, nullptr);
        result = bytes;
        SysFreeString(name);
    }
    object->Release();
    return result;
}

// The role or the state flags; -1 when there is no answer.
long AccessibleFact(HWND window, bool role) {
    IAccessible* object = Describe(window);
    if (!object) return -1;
    VARIANT answer;
    answer.vt = VT_EMPTY;
    HRESULT result = role ? object->get_accRole(Self(), &answer)
                          : object->get_accState(Self(), &answer);
    object->Release();
    return SUCCEEDED(result) && answer.vt == VT_I4 ? answer.lVal : -1;
}

bool ReadsChecked(HWND window) {
    long state = AccessibleFact(window, false);
    return state != -1 && (state & STATE_SYSTEM_CHECKED) != 0;
}

std::vector<HWND> ButtonsOf(HWND screen) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(screen, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0) buttons.push_back(child);
    }
    return buttons;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// A key pressed and let go as a person does, held for a moment: Wine
// answers a program's second question about a key within 50 ms from what it
// answered the first time, so a release hard on the last one's heels would
// not count as pressed.
void Key(BYTE key, bool shift = false) {
    auto send = [](BYTE code, DWORD flags) {
        keybd_event(code, static_cast<BYTE>(MapVirtualKeyA(code, 0)), flags, 0);
    };
    if (shift) send(VK_SHIFT, 0);
    send(key, 0);
    Sleep(80);
    send(key, KEYEVENTF_KEYUP);
    if (shift) send(VK_SHIFT, KEYEVENTF_KEYUP);
}

void ReadNames(const std::vector<HWND>& buttons) {
    const int count = sizeof kButtons / sizeof kButtons[0];
    CHECK(static_cast<int>(buttons.size()) == count, "the screen has " + std::to_string(count) +
                                                         " buttons (" +
                                                         std::to_string(buttons.size()) + ")");
    for (int i = 0; i < count && i < static_cast<int>(buttons.size()); ++i) {
        std::string which = "button " + std::to_string(i + 1) + " in Tab order";
        CHECK_EQ(WindowText(buttons[i]), kButtons[i].text, which + ": window text");
        CHECK_EQ(AccessibleName(buttons[i]), kButtons[i].name, which + ": accessible name");
    }
    if (static_cast<int>(buttons.size()) <= kCheckBoxIndex) return;
    HWND checkBox = buttons[kCheckBoxIndex];
    CHECK(AccessibleFact(checkBox, true) == ROLE_SYSTEM_CHECKBUTTON, "the check box reads as one");
    CHECK(AccessibleFact(buttons[0], true) != ROLE_SYSTEM_CHECKBUTTON,
          "a push button does not read as a check box");
    CHECK(!ReadsChecked(checkBox) && AccessibleFact(checkBox, false) != -1,
          "the check box reads as unchecked");
}

// Tab from the first button (the one that asks for the focus at start)
// round to it again, then Shift+Tab back; each step lands on the next
// button in slot order, as its name says.
void WalkWithTab(HWND screen, const std::vector<HWND>& buttons) {
    DWORD thread = GetWindowThreadProcessId(screen, nullptr);
    CHECK_EQ(AccessibleName(FocusOf(thread)), kButtons[0].name, "the first button has the focus");
    struct Step {
        bool shift;
        int reached;
    } steps[] = {{false, 1}, {false, 2}, {false, 3}, {false, 4},
                 {false, 5}, {false, 0}, {true, 5},  {true, 4}};
    for (const Step& step : steps) {
        HWND before = FocusOf(thread);
        Key(VK_TAB, step.shift);
        kit::WaitUntil([&] { return FocusOf(thread) != before; });
        CHECK_EQ(AccessibleName(FocusOf(thread)), kButtons[step.reached].name,
                 std::string(step.shift ? "Shift+Tab" : "Tab") + " reaches the next button");
    }
    // Space on the check box checks it. The ampersand in the exit button's
    // name is no mnemonic: the space character does not click that button.
    HWND checkBox = buttons[kCheckBoxIndex];
    CHECK(FocusOf(thread) == checkBox, "the check box has the focus");
    Key(VK_SPACE);
    CHECK(kit::WaitUntil([&] { return ReadsChecked(checkBox); }),
          "Space checks the check box, and it reads as checked");
    CHECK(IsWindowVisible(screen) != FALSE, "and the screen stays");
    Key(VK_TAB);
    CHECK(kit::WaitUntil([&] { return FocusOf(thread) == buttons[kExitIndex]; }),
          "Tab moves on to the exit button");
    Key(VK_SPACE);
    CHECK(kit::WaitUntil([&] { return !IsWindowVisible(screen); }),
          "Space on the exit button closes the screen");
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    // As a reader does: a check box's description comes from the screen's
    // process through COM.
    CoInitialize(nullptr);
    HWND screen = nullptr;
    kit::WaitUntil([&] { return (screen = FindWindowA(nullptr, argv[1])) != nullptr; });
    if (!screen) {
        CHECK(false, std::string("a screen titled ") + argv[1]);
        return 1;
    }
    std::vector<HWND> buttons = ButtonsOf(screen);
    ReadNames(buttons);
    SetForegroundWindow(screen);
    if (!kit::WaitUntil([&] { return GetForegroundWindow() == screen; })) {
        CHECK(false, "the screen comes to the front");
    } else if (buttons.size() == sizeof kButtons / sizeof kButtons[0]) {
        WalkWithTab(screen, buttons);
    }
    std::printf("done\n");
    return kit::ExitStatus();
}
