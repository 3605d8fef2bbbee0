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
    for (int kind : {int(kPushButton), int(kExitButton), int(kOkButton), 7}) {
        for (const Case& c : cases) {
            EXPECT_EQ(ChooseFrame(kind, c.state, c.highlighted, c.leftDown, c.inside), c.frame)
                << "kind " << kind << " state " << c.state << " hl " << c.highlighted << " down "
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
            EXPECT_EQ(ChooseFrame(kCheckBox, c.state, c.highlighted, down, true), c.frame)
                << "state " << c.state << " hl " << c.highlighted << " down " << down;
        }
    }
}

TEST(ActionFor, ByKindAndState) {
    struct Case {
        int kind, state;
        ButtonAction action;
    } cases[] = {
        {kPushButton, kStateNormal, ButtonAction::kStartPushButton},
        {kPushButton, kStateFocus, ButtonAction::kStartPushButton},
        {kPushButton, kStateDisabled, ButtonAction::kNone},
        {kExitButton, kStateHide, ButtonAction::kCloseScreen},
        {kExitButton, kStateDisabled, ButtonAction::kNone},
        {kOkButton, kStateNormal, ButtonAction::kRunChain},
        {kOkButton, kStateDisabled, ButtonAction::kNone},
        {kCheckBox, 0, ButtonAction::kToggle},
        {kCheckBox, 1, ButtonAction::kToggle},
        {kCheckBox, kStateDisabled, ButtonAction::kNone},
        {4, kStateNormal, ButtonAction::kNone},
        {-1, kStateNormal, ButtonAction::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionFor(c.kind, c.state), c.action) << c.kind << "," << c.state;
    }
}

TEST(ToggledState, CheckedBecomesUncheckedAnythingElseChecked) {
    EXPECT_EQ(ToggledState(1), 0);
    for (int state : {0, -1, -2, 3, 99}) EXPECT_EQ(ToggledState(state), 1) << state;
}
