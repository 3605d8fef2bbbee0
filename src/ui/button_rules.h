#pragma once
// The decisions of a hot button that need no window: which of the four
// frames of its picture strip shows, and what a click does.
#include "script/screen_model.h"

// Frames of a picture strip. Push, exit and OK buttons: normal, pressed,
// current, disabled. Check boxes: unchecked, unchecked and current, checked,
// checked and current.
enum ButtonFrame { kFrameNormal = 0, kFramePressed = 1, kFrameCurrent = 2, kFrameDisabled = 3 };

// The frame to draw. leftButtonDown is the mouse button's state right now,
// cursorInside whether the pointer lies in the button's hit area.
int ChooseFrame(ButtonKind kind, int state, bool highlighted, bool leftButtonDown,
                bool cursorInside);

enum class ButtonAction { kNone, kStartPushButton, kCloseScreen, kRunChain, kToggle };

// What activating a button of this kind and state does.
ButtonAction ActionFor(ButtonKind kind, int state);

// A check box's state after a toggle: checked becomes unchecked, anything
// else checked.
int ToggledState(int state);

// Whether releasing this key (a virtual-key code) activates the focus
// button: Enter and Space do.
bool IsActivationKey(unsigned key);
