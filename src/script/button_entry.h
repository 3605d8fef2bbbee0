#pragma once
// Button entries: the twelve-field form of [BUTTON], the continuation form of
// [RUN] and [REBOOTED], the restart-policy lists of [BEGIN] and the ignore
// list of [IGNOREWAITPROCESS].
#include <string>
#include <vector>

#include "script/script_host.h"
#include "script/screen_model.h"

// The fields of a [BUTTON] value, in their order.
enum ButtonField {
    kButtonKind, kButtonX, kButtonY, kButtonWidth, kButtonHeight, kButtonState, kButtonOption,
    kButtonPicture, kButtonCaption, kButtonPlacement, kButtonHoverSound, kButtonCommand,
    kButtonFieldCount
};

// Reads a [BUTTON] value into the record: kind, rectangle, state, option,
// picture (from the host's cache), caption, placement, hover sound, command.
// Whatever an earlier entry for the slot gave through these fields is
// replaced; the restart policy and what the per-button sections set stay.
// The caption's TextItem may be moved by the placement. No window is made.
void ParseButtonForm(ScreenItem& item, const std::string& value, const ScreenModel& screen,
                     ScriptHost& host);

// Reads a [RUN] / [REBOOTED] value: the command, then any number of option
// fields of which the last counts. The record becomes a checked check box
// without picture, caption or position.
void ParseContinuationForm(ScreenItem& item, const std::string& value);

// Gives every listed slot (0 to 31) the policy, first putting a blank
// record into slots that are still empty.
void SetRestartPolicy(ScreenModel& screen, const std::string& list, int policy);

// The process names of an [IGNOREWAITPROCESS] value, trimmed, without empties.
std::vector<std::string> ParseIgnoreList(const std::string& value);

// Moves a caption without a position of its own beside the button (or, for
// MERGE, takes both into one hit area) and sets the window rectangle.
void PlaceCaption(ScreenItem& item, TextItem& caption, const std::string& placement);
