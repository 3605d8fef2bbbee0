#pragma once
// The screen as the script describes it: settings, the 32 button slots, the
// 32 text slots and the font table. Owned by the main screen for the whole
// run; worker threads read it while the screen's thread toggles check boxes,
// so everything that changes after loading is atomic.
#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "script/screen_scale.h"

class DibBitmap;
using FontHandle = void*;

constexpr int kSlotCount = 32;
inline bool IsSlot(int number) { return number >= 0 && number < kSlotCount; }

// What a button is; the script may give a number outside these, which is
// kept and drawn like a push button but does nothing when clicked.
enum class ButtonKind : int { kPush = 0, kExit = 1, kOk = 2, kCheckBox = 3 };
enum ButtonState { kStateHelp = -2, kStateHide = -1, kStateNormal = 0, kStateFocus = 1,
                   kStateDisabled = 2 };
// A check box's own two states, kept in the same field as the button states
// (hidden, help and disabled apply to check boxes too).
enum CheckState { kUnchecked = 0, kChecked = 1 };
enum RestartPolicy { kNoPolicy = 0, kTrapRestart = 1, kAllowRestart = 2 };

constexpr int kColourNone = -1;  // blank or "HIDE": shown only while highlighted
constexpr int kColourHelp = -2;  // "HELP": shown while highlighted, then left in place

struct TextItem {
    int x = -1;
    int y = -1;
    int width = 0;
    int height = 0;
    std::string text;  // with CR LF line breaks
    int highlightColour = 0;
    int normalColour = kColourNone;
    int highlightBackground = kColourNone;
    FontHandle font = nullptr;  // not owned: one of the font table's
    // A size worked out from the text in its font (the entry gave none), and
    // what it was worked out from, for when the font is replaced.
    bool measured = false;
    int longestLine = 0;
    int lineCount = 0;
};

struct ScreenItem {
    int x = 0, y = 0, width = 0, height = 0;
    int windowX = 0, windowY = 0, windowWidth = 0, windowHeight = 0;
    ButtonKind kind = ButtonKind::kPush;
    int option = 0;
    std::atomic<int> state{kStateNormal};
    int restartPolicy = kNoPolicy;
    TextItem* caption = nullptr;    // not owned
    // The caption's position before the placement moved it, so that a later
    // entry for the same slot places it afresh.
    int captionOwnX = -1, captionOwnY = -1;
    TextItem* extraText = nullptr;  // not owned
    DibBitmap* picture = nullptr;   // not owned: shared through the bitmap cache
    std::string hoverSound;
    std::string command;
    std::string installMessage;
    std::string referenceList;
    std::string failureMessage;
    std::vector<std::string> ignoreList;
    bool hasWindow = false;  // a [BUTTON] entry made its window

    bool IsChainMember() const {
        return kind == ButtonKind::kCheckBox && state.load() == kChecked && !command.empty();
    }
};

struct ScreenModel {
    // Fixed at construction.
    std::string programName;
    std::string programDirectory;
    std::string scriptPath;
    unsigned short windowsVersion = 0;
    // Every place and length the script gives is drawn scale.factor times
    // larger (ChooseScreenScale); 1 draws the script's own pixels.
    ScreenScale scale;
    // The font of texts that name none: null for the system font itself,
    // else the system font made at the screen's scale (owned by the screen).
    FontHandle plainFont = nullptr;

    // Settings of [BEGIN].
    std::string title;
    std::string introSound;
    int restartMode = 0;  // without TRAPREBOOTMODE a trapped restart is told with OK
    std::string trapMessage;
    std::string finalRestartMessage;
    std::string allowMessage;

    // Set while reading by the [REBOOTED] and [RUN] sections.
    int resumed = 0;
    int autoRun = 0;

    std::array<std::unique_ptr<ScreenItem>, kSlotCount> buttons;
    std::array<std::unique_ptr<TextItem>, kSlotCount> texts;
    std::array<FontHandle, kSlotCount> fonts{};

    // Shared with the worker threads.
    std::atomic<int> closeAfterChain{1};  // a [RUN] chain ends the program; OK buttons set it
    std::atomic<int> runningIndex{-1};
    // The slot of the member that runs, the chain's last one too; -1 when
    // none runs.
    std::atomic<int> runningMember{-1};
    // The slot of the member whose failure box is open, -1 when none is.
    std::atomic<int> failingMember{-1};
    // A restart request came while the running member ran; its exit code
    // asks for none again.
    std::atomic<int> memberAsked{0};
    std::atomic<int> restartNow{0};
    // The screen called for a restart that did not come; a later one is
    // still owed.
    std::atomic<int> restartOwed{0};
    // A restart request was held back until the running member has ended;
    // the chain then writes the resume script and restarts.
    std::atomic<int> restartLater{0};
    std::atomic<int> finalRestart{0};
    std::atomic<ScreenItem*> currentPushButton{nullptr};

    ScreenItem* Button(int number) const { return IsSlot(number) ? buttons[number].get() : nullptr; }
    TextItem* Text(int number) const { return IsSlot(number) ? texts[number].get() : nullptr; }
    FontHandle Font(int number) const { return IsSlot(number) ? fonts[number] : nullptr; }
};
