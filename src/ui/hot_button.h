#pragma once
// An owner-drawn button of the screen: a hit area and focus holder whose
// pictures and texts are drawn straight onto the screen's surface.
#include <string>

#include "script/screen_model.h"
#include "win/button_window.h"
#include "win/message_table.h"

class LauncherDialog;

class HotButton : public ButtonWindow {
public:
    HotButton(LauncherDialog& screen, ScreenItem& item) : screen_(screen), item_(item) {}
    ~HotButton() override;

    ScreenItem& Item() { return item_; }

    // Reads a [BUTTON] value (continuation false) and makes the window, or a
    // [RUN] / [REBOOTED] value, which makes none.
    virtual bool ParseEntry(const std::string& value, bool continuation);
    // Makes the window from the item's window rectangle; for a button that
    // has one already, moves and resizes it.
    virtual bool CreateButtonWindow();

    // Draws the frame for the current state onto the screen, and with
    // withTexts also the caption and the extra text.
    void DrawButton(bool highlighted, bool withTexts);
    // Whether the mouse pointer lies in the button's hit area.
    bool IsCursorInside() const;
    // What a click does.
    void Activate();
    void DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnMouseMove();
    bool OnEraseBackground();
    void OnLeftButtonDown();
    void OnLeftButtonUp();
    void OnKeyUp(UINT key);
    void OnSetFocus();
    void OnKillFocus();

    // Table thunks from the raw parameters to the handlers above.
    template <void (HotButton::*Handler)()>
    LRESULT Plain(WPARAM, LPARAM) {
        (this->*Handler)();
        return 0;
    }
    LRESULT KeyUp(WPARAM key, LPARAM) {
        OnKeyUp(static_cast<UINT>(key));
        return 0;
    }
    LRESULT EraseBackground(WPARAM, LPARAM) { return OnEraseBackground() ? TRUE : FALSE; }
    static const MessageEntry<HotButton> kMessages[];

    LauncherDialog& screen_;
    ScreenItem& item_;
    // From a left-button press on this button until its release, or until
    // the button loses the focus.
    int pressed_ = 0;
};
