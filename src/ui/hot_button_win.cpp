#include "ui/hot_button_win.h"

#include "script/program_paths.h"
#include "ui/button_name.h"
#include "ui/button_rules.h"
#include "ui/check_box_accessible_win.h"
#include "ui/dib_bitmap_win.h"
#include "ui/sound_lock.h"
#include "ui/text_draw_win.h"

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW;  // 0x4001000B
constexpr DWORD kButtonExStyle = WS_EX_TRANSPARENT;
}  // namespace

HotButton::HotButton(ButtonHost& host, ScreenItem& item, Machine& machine)
    : host_(host), item_(item), machine_(machine) {
    using Messages = MessageTable<HotButton,
                                  On<WM_MOUSEMOVE, &HotButton::OnMouseMove, kThenDefault>,
                                  On<WM_ERASEBKGND, &HotButton::OnEraseBackground>,
                                  On<WM_LBUTTONDOWN, &HotButton::OnLeftButtonDown>,
                                  On<WM_LBUTTONUP, &HotButton::OnLeftButtonUp>,
                                  On<WM_KEYUP, &HotButton::OnKeyUp, kThenDefault>,
                                  On<WM_SETFOCUS, &HotButton::OnSetFocus>,
                                  On<WM_KILLFOCUS, &HotButton::OnKillFocus>,
                                  On<BM_GETCHECK, &HotButton::OnGetCheck>,
                                  On<WM_PRINTCLIENT, &HotButton::OnPrintClient>,
                                  On<WM_GETOBJECT, &HotButton::OnGetObject>>;
    UseMessages(this, Messages());
}

bool HotButton::CreateButtonWindow() {
    UINT flags = SWP_NOZORDER;
    if (Handle()) {
        // A later entry for the slot: the window takes the new rectangle.
        flags |= SWP_NOACTIVATE;
    } else {
        if (!CreateChild(host_.ScreenWindow(), kButtonStyle, kButtonExStyle, item_.windowX,
                         item_.windowY, item_.windowWidth, item_.windowHeight, 0)) {
            return false;
        }
        flags |= SWP_NOMOVE;
    }
    bool shown = item_.windowWidth > 0 || item_.windowHeight > 0;
    flags |= shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    return SetWindowPos(Handle(), nullptr, item_.windowX, item_.windowY, item_.windowWidth,
                        item_.windowHeight, flags) != FALSE;
}

// Stored by the default procedure: the button class would repaint the
// button for it, and a second text would make it clear the old one's area.
void HotButton::NameForReaders() {
    std::string name = SpokenButtonName(item_);
    DefWindowProcA(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void HotButton::DrawButton(bool highlighted, bool withTexts, HDC given) {
    HWND surface = host_.ScreenWindow();
    HDC context = given ? given : GetDC(surface);
    if (!context) return;
    bool leftDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    int frame = ChooseFrame(item_.kind, item_.state.load(), highlighted, leftDown,
                            leftDown && IsCursorInside());
    if (item_.picture) {
        item_.picture->Draw(context, item_.x, item_.y, item_.width, item_.height,
                            frame * item_.width, 0, SRCCOPY, TRUE);
    }
    if (withTexts) {
        const DibBitmap* background = host_.Background();
        if (item_.caption) DrawTextItem(context, *item_.caption, background, highlighted);
        if (item_.extraText) DrawTextItem(context, *item_.extraText, background, highlighted);
    }
    if (!given) ReleaseDC(surface, context);
}

bool HotButton::IsCursorInside() const {
    POINT cursor;
    RECT area;
    if (!Handle() || !GetCursorPos(&cursor) || !GetWindowRect(Handle(), &area)) return false;
    return PtInRect(&area, cursor) != FALSE;
}

void HotButton::Activate() {
    switch (ActionFor(item_.kind, item_.state.load())) {
        case ButtonAction::kStartPushButton:
            PlaySoundLocked(nullptr, 0);
            host_.StartPushButton(item_);
            break;
        case ButtonAction::kCloseScreen:
            PostMessageA(host_.ScreenWindow(), WM_CLOSE, 0, 0);
            break;
        case ButtonAction::kRunChain:
            PlaySoundLocked(nullptr, 0);
            host_.StartChain(item_.option == 1 ? 1 : 0);
            break;
        case ButtonAction::kToggle:
            item_.state = ToggledState(item_.state.load());
            break;
        case ButtonAction::kNone:
            break;
    }
}

// The request's device context is clipped to the button's window, and the
// texts lie outside it: the button draws on the screen's own.
void HotButton::DrawItem(const DRAWITEMSTRUCT&) { DrawButton(GetFocus() == Handle(), true); }

// Drawn as in a repaint of the screen, which draws the focus button
// highlighted.
void HotButton::OnPrintClient(HDC context) { DrawButton(GetFocus() == Handle(), true, context); }

void HotButton::OnMouseMove(UINT, POINTS) {
    if (GetFocus() != Handle()) SetFocus(Handle());
}

bool HotButton::OnEraseBackground(HDC) { return true; }

void HotButton::OnLeftButtonDown(UINT, POINTS) {
    pressed_ = 1;
    DrawButton(true, false);
}

// The second press of a double click comes as WM_LBUTTONDBLCLK, which goes
// to the button class (for an owner-drawn button it only notifies the
// screen): pressed stays 0, so a double click activates once.
void HotButton::OnLeftButtonUp(UINT, POINTS) {
    if (pressed_ != 1) return;
    pressed_ = 0;
    Activate();
    DrawButton(true, false);
}

void HotButton::OnKeyUp(UINT key) {
    // The key's press must have come to this program too (its bit "pressed
    // since last asked"): a release left over from a key pressed in another
    // window activates nothing.
    if (IsActivationKey(key) && (GetAsyncKeyState(static_cast<int>(key)) & 1)) Activate();
    if (item_.kind == ButtonKind::kCheckBox) DrawButton(true, false);
}

void HotButton::OnSetFocus(HWND) {
    host_.SetFocusButton(this);
    DrawButton(true, true);
    if (!item_.hoverSound.empty()) {
        std::string path = ResolveScriptPath(machine_, item_.hoverSound);
        PlaySoundLocked(path.c_str(), 0);
    }
}

void HotButton::OnKillFocus(HWND) {
    pressed_ = 0;
    // Space held on the button let the button class capture the mouse; the
    // focus moving on must not leave it captured.
    if (GetCapture() == Handle()) ReleaseCapture();
    DrawButton(false, true);
}

// An owner-drawn button has no check state of its own: a check box answers
// with the screen's, for programs that ask a button whether it is checked.
UINT HotButton::OnGetCheck() {
    bool checked = item_.kind == ButtonKind::kCheckBox && item_.state.load() == kChecked;
    return checked ? BST_CHECKED : BST_UNCHECKED;
}

// Other buttons get the default answer, 0: the system describes them.
LRESULT HotButton::OnGetObject(WPARAM flags, LONG objectId) {
    if (item_.kind != ButtonKind::kCheckBox) return 0;
    return DescribeCheckBox(Handle(), flags, objectId);
}
