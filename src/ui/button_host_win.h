#pragma once
// What a hot button needs from the screen it sits on. The main screen
// implements it.
#include <windows.h>

#include "script/screen_model.h"

class HotButton;

class ButtonHost {
public:
    // The window that the button is a child of and draws on.
    virtual HWND ScreenWindow() const = 0;
    // The picture under the button's texts; null when the screen has none.
    virtual const DibBitmap* Background() const = 0;
    // The button took the keyboard focus: after any repaint it is drawn
    // highlighted.
    virtual void SetFocusButton(HotButton* button) = 0;
    // A push button's program, or the chain of checked items when the OK
    // button is clicked; nothing starts while another action runs.
    virtual void StartPushButton(ScreenItem& button) = 0;
    virtual void StartChain(int closeAfterChain) = 0;

protected:
    ~ButtonHost() = default;
};
