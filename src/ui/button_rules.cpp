#include "ui/button_rules.h"

#include "script/screen_model.h"

int ChooseFrame(int kind, int state, bool highlighted, bool leftButtonDown, bool cursorInside) {
    if (kind == kCheckBox) return (state == kStateChecked ? 2 : 0) + (highlighted ? 1 : 0);
    if (state == kStateDisabled) return kFrameDisabled;
    if (leftButtonDown) return cursorInside ? kFramePressed : kFrameNormal;
    return highlighted ? kFrameCurrent : kFrameNormal;
}

ButtonAction ActionFor(int kind, int state) {
    if (state == kStateDisabled) return ButtonAction::kNone;
    switch (kind) {
        case kPushButton: return ButtonAction::kStartPushButton;
        case kExitButton: return ButtonAction::kCloseScreen;
        case kOkButton: return ButtonAction::kRunChain;
        case kCheckBox: return ButtonAction::kToggle;
        default: return ButtonAction::kNone;
    }
}

int ToggledState(int state) { return state == kStateChecked ? kStateNormal : kStateChecked; }

bool IsActivationKey(unsigned key) {
    constexpr unsigned kReturnKey = 0x0D;
    constexpr unsigned kSpaceKey = 0x20;
    return key == kReturnKey || key == kSpaceKey;
}
