#pragma once
// An owner-drawn button of the screen: a hit area and focus holder whose
// pictures and texts are drawn straight onto the screen's surface.
#include "script/screen_model.h"
#include "win/button_window.h"

class LauncherDialog;

class HotButton : public ButtonWindow {
public:
    HotButton(LauncherDialog& screen, ScreenItem& item) : screen_(screen), item_(item) {}
    ~HotButton() override = default;

    ScreenItem& Item() { return item_; }

private:
    LauncherDialog& screen_;
    ScreenItem& item_;
};
