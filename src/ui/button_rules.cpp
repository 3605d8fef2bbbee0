#include "ui/button_rules.h"

#include "script/screen_model.h"

int ChooseFrame(ButtonKind kind, int state, bool highlighted, bool leftButtonDown,
                bool cursorInside) {
    if (kind == ButtonKind::kCheckBox) return (state == kChecked ? 2 : 0) + (highlighted ? 1 : 0);
    if (state == kStateDisabled) return kFrameDisabled;
    if (leftButtonDown) return cursorInside ? kFramePressed : kFrameNormal;
    return highlighted ? kFrameCurrent : kFrameNormal;
}

ButtonAction ActionFor(ButtonKind kind, int state) {
    if (state == kStateDisabled) return ButtonAction::kNone;
    switch (kind) {
        case ButtonKind::kPush: return ButtonAction::kStartPushButton;
        case ButtonKind::kExit: return ButtonAction::kCloseScreen;
        case ButtonKind::kOk: return ButtonAction::kRunChain;
        case ButtonKind::kCheckBox: return ButtonAction::kToggle;
        default: return ButtonAction::kNone;
    }
}

int ToggledState(int state) { return state == kChecked ? kUnchecked : kChecked; }

bool IsActivationKey(unsigned key) {
    constexpr unsigned kReturnKey = 0x0D;
    constexpr unsigned kSpaceKey = 0x20;
    return key == kReturnKey || key == kSpaceKey;
}
