// The screen's drawing read without a display: the program's own screen,
// built from the script beside this program (suite_screen.sh copies it to
// the disc with the buttons script under its own name), draws itself and
// each button into a memory bitmap through WM_PRINTCLIENT, and the pixels
// are compared with what the script asks for: the background, the frame of
// each button state and the colours of the texts.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/launcher_dialog_win.h"
#include "kit/check.h"
#include "ui/hot_button_win.h"
#include "win/machine_win.h"

namespace {
// Colours as 0xRRGGBB, the layout of a 32-bit DIB's pixels. The strip's
// frames: normal, pressed, current, disabled (for a check box: unchecked,
// unchecked and current, checked, checked and current).
constexpr DWORD kFrame[4] = {0x0000FF, 0xFFFF00, 0x00FF00, 0xFF00FF};
constexpr DWORD kBackground = 0x404040;
constexpr DWORD kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlack = 0x000000, kYellow = 0xFFFF00,
                kCyan = 0x00FFFF;
// What no drawing of the program leaves: the bitmap is filled with it first.
constexpr DWORD kUntouched = 0x123456;

struct Area {
    int x, y, width, height;
};
// The script's texts: 1 the caption of button 1 (white, red while
// highlighted), 2 a HIDE caption of button 2, 3 the caption of the disabled
// button 3, and the HELP texts of buttons 1 and 2 in one area on black.
constexpr Area kCaption1 = {80, 20, 150, 30};
constexpr Area kHiddenCaption = {80, 70, 150, 30};
constexpr Area kCaption3 = {80, 120, 150, 30};
constexpr Area kHelpArea = {200, 240, 180, 30};

// A top-down 32-bit DIB section as large as the screen's client area.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<DWORD*>(bits);
        context_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(context_, bitmap_);
    }
    ~Canvas() {
        SelectObject(context_, old_);
        DeleteDC(context_);
        DeleteObject(bitmap_);
    }
    bool Ready() const { return pixels_ && context_; }

    // What the window draws when asked to print its client area.
    void Print(HWND window) {
        for (int i = 0; i < width_ * height_; ++i) pixels_[i] = kUntouched;
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(context_), PRF_CLIENT);
        GdiFlush();
    }
    DWORD Pixel(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }
    int Count(const Area& area, DWORD colour) const {
        int count = 0;
        for (int y = area.y; y < area.y + area.height; ++y) {
            for (int x = area.x; x < area.x + area.width; ++x) count += Pixel(x, y) == colour;
        }
        return count;
    }

private:
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    DWORD* pixels_ = nullptr;
    HDC context_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

std::string Hex(DWORD colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(colour));
    return text;
}

// The buttons of the script, by the row their picture lies on.
enum Row { kPush = 20, kNext = 70, kDisabled = 120, kCheck = 170, kExit = 220 };

HotButton* ButtonAt(HWND screen, int row) {
    for (HWND child = GetWindow(screen, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* button = static_cast<HotButton*>(ButtonWindow::FromHandle(child));
        if (button && button->Item().y == row) return button;
    }
    return nullptr;
}

// One button drawn in one state: which button holds the focus (0: none),
// whether the check box is checked, and the frame seen.
struct FrameCase {
    const char* what;
    int button;
    int focus;
    bool checked;
    int frame;
};
const FrameCase kFrameCases[] = {
    {"push button at rest: frame 0", kPush, 0, false, 0},
    {"push button with the focus: frame 2", kPush, kPush, false, 2},
    {"push button while another has the focus: frame 0", kPush, kNext, false, 0},
    {"disabled button at rest: frame 3", kDisabled, 0, false, 3},
    {"disabled button with the focus: still frame 3", kDisabled, kDisabled, false, 3},
    {"exit button at rest: frame 0", kExit, 0, false, 0},
    {"check box unchecked: frame 0", kCheck, 0, false, 0},
    {"check box unchecked with the focus: frame 1", kCheck, kCheck, false, 1},
    {"check box checked: frame 2", kCheck, 0, true, 2},
    {"check box checked with the focus: frame 3", kCheck, kCheck, true, 3},
};

// The texts a button draws with itself, with the focus or without: how
// many pixels of a colour an area holds.
constexpr int kSome = -1;  // at least one
struct TextCase {
    const char* what;
    int button;
    bool focused;
    Area area;
    DWORD colour;
    int count;
};
const TextCase kTextCases[] = {
    {"caption 1 is white at rest", kPush, false, kCaption1, kWhite, kSome},
    {"caption 1 has no red at rest", kPush, false, kCaption1, kRed, 0},
    {"a HELP text draws nothing at rest", kPush, false, kHelpArea, kUntouched, 180 * 30},
    {"caption 1 is red with the focus", kPush, true, kCaption1, kRed, kSome},
    {"caption 1 has no white with the focus", kPush, true, kCaption1, kWhite, 0},
    {"help text 1 on black with the focus", kPush, true, kHelpArea, kBlack, kSome},
    {"help text 1 in yellow with the focus", kPush, true, kHelpArea, kYellow, kSome},
    {"a HIDE caption at rest is the background only", kNext, false, kHiddenCaption, kBackground,
     150 * 30},
    {"a HIDE caption shows red with the focus", kNext, true, kHiddenCaption, kRed, kSome},
    {"help text 2 in cyan with the focus", kNext, true, kHelpArea, kCyan, kSome},
    {"the disabled button's caption is white at rest", kDisabled, false, kCaption3, kWhite, kSome},
    {"the disabled button's caption is red with the focus", kDisabled, true, kCaption3, kRed,
     kSome},
};

// The focus to a button, or with row 0 to no window at all (the dialog
// would pass its own on to a button).
void FocusOn(HWND screen, int row) {
    SetFocus(row ? ButtonAt(screen, row)->Handle() : nullptr);
}

void SetChecked(HWND screen, bool checked) {
    HotButton* box = ButtonAt(screen, kCheck);
    bool now = box->Item().state.load() == kChecked;
    if (now != checked) box->Activate();  // a click's toggle
}

void CheckDrawing(HWND screen) {
    RECT client;
    GetClientRect(screen, &client);
    Canvas canvas(client.right, client.bottom);
    CHECK(canvas.Ready(), "a memory bitmap of the screen's size");
    bool allButtons = true;
    for (int row : {kPush, kNext, kDisabled, kCheck, kExit}) {
        allButtons &= ButtonAt(screen, row) != nullptr;
    }
    CHECK(allButtons, "the script's five buttons are made");
    if (!canvas.Ready() || !allButtons) return;

    canvas.Print(screen);
    Area whole = {0, 0, client.right, client.bottom};
    int background = canvas.Count(whole, kBackground);
    CHECK(background == client.right * client.bottom,
          "the screen prints its background over the whole client area (" +
              std::to_string(background) + " of " +
              std::to_string(client.right * client.bottom) + " pixels)");

    for (const FrameCase& c : kFrameCases) {
        SetChecked(screen, c.checked);
        FocusOn(screen, c.focus);
        canvas.Print(ButtonAt(screen, c.button)->Handle());
        DWORD seen = canvas.Pixel(40, c.button + 15);
        CHECK(seen == kFrame[c.frame], std::string(c.what) + " (got " + Hex(seen) + ")");
    }
    SetChecked(screen, false);

    for (const TextCase& c : kTextCases) {
        FocusOn(screen, c.focused ? c.button : 0);
        canvas.Print(ButtonAt(screen, c.button)->Handle());
        int count = canvas.Count(c.area, c.colour);
        bool good = c.count == kSome ? count > 0 : count == c.count;
        CHECK(good, std::string(c.what) + " (" + std::to_string(count) + " px of " +
                        Hex(c.colour) + ")");
    }

    FocusOn(screen, 0);
    canvas.Print(ButtonAt(screen, kPush)->Handle());
    CHECK(canvas.Pixel(300, 10) == kUntouched && canvas.Pixel(19, 35) == kUntouched,
          "a button prints only its picture and texts");
}

// The program's screen, checked once the dialog loop runs and then closed.
class ScreenUnderTest : public LauncherDialog {
public:
    explicit ScreenUnderTest(Machine& machine) : LauncherDialog(nullptr, machine) {
        current = this;
    }
    bool checked = false;

protected:
    bool OnInitDialog() override {
        bool result = LauncherDialog::OnInitDialog();
        // Runs as soon as the dialog loop takes its first message.
        SetTimer(Handle(), 1, 0, &AfterStart);
        return result;
    }

private:
    static void CALLBACK AfterStart(HWND window, UINT, UINT_PTR id, DWORD) {
        KillTimer(window, id);
        CheckDrawing(window);
        current->checked = true;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    static ScreenUnderTest* current;
};
ScreenUnderTest* ScreenUnderTest::current = nullptr;
}  // namespace

int main() {
    WinMachine machine;
    ScreenUnderTest screen(machine);
    screen.RunModal();
    CHECK(screen.checked, "the screen came up and was drawn");
    return kit::ExitStatus();
}
