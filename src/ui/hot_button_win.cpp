#include "ui/hot_button.h"

#include "app/dialog_screen_host.h"
#include "app/launcher_dialog.h"
#include "launch/run_chain.h"
#include "script/button_entry.h"
#include "script/system_facts.h"
#include "ui/button_rules.h"
#include "ui/dib_bitmap.h"
#include "ui/sound_lock.h"
#include "ui/text_draw.h"

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW;  // 0x4001000B
constexpr DWORD kButtonExStyle = WS_EX_TRANSPARENT;
}  // namespace

const MessageEntry<HotButton> HotButton::kMessages[] = {
    {WM_MOUSEMOVE, &HotButton::Plain<&HotButton::OnMouseMove>, kThenDefault},     // ()
    {WM_ERASEBKGND, &HotButton::EraseBackground},                                  // () -> TRUE
    {WM_LBUTTONDOWN, &HotButton::Plain<&HotButton::OnLeftButtonDown>},            // ()
    {WM_LBUTTONUP, &HotButton::Plain<&HotButton::OnLeftButtonUp>},                // ()
    {WM_KEYUP, &HotButton::KeyUp, kThenDefault},                                  // (UINT key)
    {WM_SETFOCUS, &HotButton::Plain<&HotButton::OnSetFocus>},                     // ()
    {WM_KILLFOCUS, &HotButton::Plain<&HotButton::OnKillFocus>},                   // ()
};

HotButton::~HotButton() {
    if (screen_.FocusButton() == this) screen_.SetFocusButton(nullptr);
}

bool HotButton::ParseEntry(const std::string& value, bool continuation) {
    if (continuation) {
        ParseContinuationForm(item_, value);
        return true;
    }
    DialogScreenHost host(screen_);
    ParseButtonForm(item_, value, screen_.Screen(), host);
    return CreateButtonWindow();
}

bool HotButton::CreateButtonWindow() {
    UINT flags = SWP_NOZORDER;
    if (Handle()) {
        // A later entry for the slot: the window takes the new rectangle.
        flags |= SWP_NOACTIVATE;
    } else {
        if (!CreateChild(screen_.Handle(), kButtonStyle, kButtonExStyle, item_.windowX,
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

bool HotButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return DispatchMessageTable(kMessages, this, message, wParam, lParam, result);
}

void HotButton::DrawButton(bool highlighted, bool withTexts) {
    HWND surface = screen_.Handle();
    HDC context = GetDC(surface);
    if (!context) return;
    bool leftDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    int frame = ChooseFrame(item_.kind, item_.state.load(), highlighted, leftDown,
                            leftDown && IsCursorInside());
    if (item_.picture) {
        item_.picture->Draw(context, item_.x, item_.y, item_.width, item_.height,
                            frame * item_.width, 0, SRCCOPY, TRUE);
    }
    if (withTexts) {
        const DibBitmap* background = screen_.Background();
        if (item_.caption) DrawTextItem(context, *item_.caption, background, highlighted);
        if (item_.extraText) DrawTextItem(context, *item_.extraText, background, highlighted);
    }
    ReleaseDC(surface, context);
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
            screen_.StartPushButton(item_);
            break;
        case ButtonAction::kCloseScreen:
            PostMessageA(screen_.Handle(), WM_CLOSE, 0, 0);
            break;
        case ButtonAction::kRunChain:
            PlaySoundLocked(nullptr, 0);
            screen_.StartChain(item_.option == 1 ? 1 : 0);
            break;
        case ButtonAction::kToggle:
            item_.state = ToggledState(item_.state.load());
            break;
        case ButtonAction::kNone:
            break;
    }
}

void HotButton::DrawItem(const DRAWITEMSTRUCT&) { DrawButton(GetFocus() == Handle(), true); }

void HotButton::OnMouseMove() {
    if (GetFocus() != Handle()) SetFocus(Handle());
}

bool HotButton::OnEraseBackground() { return true; }

void HotButton::OnLeftButtonDown() {
    pressed_ = 1;
    DrawButton(true, false);
}

// The second press of a double click comes as WM_LBUTTONDBLCLK, which goes
// to the button class (for an owner-drawn button it only notifies the
// screen): pressed stays 0, so a double click activates once.
void HotButton::OnLeftButtonUp() {
    if (pressed_ != 1) return;
    pressed_ = 0;
    Activate();
    DrawButton(true, false);
}

void HotButton::OnKeyUp(UINT key) {
    if ((key == VK_RETURN || key == VK_SPACE) && (GetAsyncKeyState(static_cast<int>(key)) & 1)) {
        Activate();
    }
    if (item_.kind == kCheckBox) DrawButton(true, false);
}

void HotButton::OnSetFocus() {
    screen_.SetFocusButton(this);
    DrawButton(true, true);
    if (!item_.hoverSound.empty()) {
        std::string path = ResolveScriptPath(item_.hoverSound);
        PlaySoundLocked(path.c_str(), 0);
    }
}

void HotButton::OnKillFocus() {
    pressed_ = 0;
    // Space held on the button let the button class capture the mouse; the
    // focus moving on must not leave it captured.
    if (GetCapture() == Handle()) ReleaseCapture();
    DrawButton(false, true);
}
