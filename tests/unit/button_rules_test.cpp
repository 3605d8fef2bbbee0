#include "ui/button_rules.h"

#include <gtest/gtest.h>

#include "script/screen_model.h"

TEST(ChooseFrame, PushExitAndOkButtons) {
    struct Case {
        int state;
        bool highlighted, leftDown, inside;
        int frame;
    } cases[] = {
        {kStateNormal, false, false, false, 0},
        {kStateNormal, true, false, false, 2},
        {kStateNormal, true, true, true, 1},    // held on the button
        {kStateNormal, false, true, true, 1},
        {kStateNormal, true, true, false, 0},   // held, pointer moved off
        {kStateFocus, false, false, false, 0},  // FOCUS only asks for the focus at start
        {kStateFocus, true, false, true, 2},
        {kStateDisabled, false, false, false, 3},
        {kStateDisabled, true, true, true, 3},
        {kStateHide, true, false, false, 2},
        {kStateHelp, false, false, false, 0},
    };
    for (ButtonKind kind :
         {ButtonKind::kPush, ButtonKind::kExit, ButtonKind::kOk, static_cast<ButtonKind>(7)}) {
        for (const Case& c : cases) {
            EXPECT_EQ(ChooseFrame(kind, c.state, c.highlighted, c.leftDown, c.inside), c.frame)
                << "kind " << static_cast<int>(kind) << " state " << c.state << " hl "
                << c.highlighted << " down "
                << c.leftDown << " inside " << c.inside;
        }
    }
}

TEST(ChooseFrame, CheckBoxesIgnoreTheMouseButton) {
    struct Case {
        int state;
        bool highlighted;
        int frame;
    } cases[] = {
        {0, false, 0}, {0, true, 1}, {1, false, 2}, {1, true, 3},
        {2, false, 0}, {2, true, 1}, {-1, true, 1}, {5, false, 0},
    };
    for (const Case& c : cases) {
        for (bool down : {false, true}) {
            EXPECT_EQ(ChooseFrame(ButtonKind::kCheckBox, c.state, c.highlighted, down, true),
                      c.frame)
                << "state " << c.state << " hl " << c.highlighted << " down " << down;
        }
    }
}

TEST(ActionFor, ByKindAndState) {
    struct Case {
        ButtonKind kind;
        int state;
        ButtonAction action;
    } cases[] = {
        {ButtonKind::kPush, kStateNormal, ButtonAction::kStartPushButton},
        {ButtonKind::kPush, kStateFocus, ButtonAction::kStartPushButton},
        {ButtonKind::kPush, kStateDisabled, ButtonAction::kNone},
        {ButtonKind::kExit, kStateHide, ButtonAction::kCloseScreen},
        {ButtonKind::kExit, kStateDisabled, ButtonAction::kNone},
        {ButtonKind::kOk, kStateNormal, ButtonAction::kRunChain},
        {ButtonKind::kOk, kStateDisabled, ButtonAction::kNone},
        {ButtonKind::kCheckBox, kUnchecked, ButtonAction::kToggle},
        {ButtonKind::kCheckBox, kChecked, ButtonAction::kToggle},
        {ButtonKind::kCheckBox, kStateDisabled, ButtonAction::kNone},
        {static_cast<ButtonKind>(4), kStateNormal, ButtonAction::kNone},
        {static_cast<ButtonKind>(-1), kStateNormal, ButtonAction::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionFor(c.kind, c.state), c.action)
            << static_cast<int>(c.kind) << "," << c.state;
    }
}

TEST(ToggledState, CheckedBecomesUncheckedAnythingElseChecked) {
    EXPECT_EQ(ToggledState(1), 0);
    for (int state : {0, -1, -2, 3, 99}) EXPECT_EQ(ToggledState(state), 1) << state;
}
