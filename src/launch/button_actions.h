#pragma once
// What a push button and a chain of checked items do, step by step, over
// the few operations that touch the screen and the machine. The workers of
// the Windows build run these with the main screen; tests record them.
#include <string>

#include "script/screen_model.h"

class Machine;

// Message box types and answers that the actions use.
constexpr unsigned kFailureBoxType = 0x30;        // OK, exclamation icon
constexpr unsigned kChainFailureBoxType = 0x122;  // Abort/Retry/Ignore, question, Retry default
constexpr unsigned kFinalRestartBoxType = 0x24;   // Yes/No, question icon
constexpr unsigned kTrapAskBoxType = 0x124;       // Yes/No, question icon, No default
constexpr unsigned kTrapTellBoxType = 0x40;       // OK, information icon
constexpr unsigned kAllowBoxType = 0x20;          // OK, question icon
constexpr int kAnswerAbort = 3;
constexpr int kAnswerRetry = 4;
constexpr int kAnswerYes = 6;

class ActionHost {
public:
    virtual ~ActionHost() = default;
    virtual void HideScreen() = 0;
    virtual void RestoreScreen() = 0;  // after a push button
    virtual void ShowScreen() = 0;     // after a chain that keeps the screen
    virtual void CloseScreen() = 0;    // a push button whose option is "YES"
    virtual void EndScreen() = 0;      // a chain that ends the program
    // Starts the command line for the item; true when the process exists.
    // After a wait, *exitCode is the program's exit code (0 otherwise).
    virtual bool Launch(const std::string& commandLine, const ScreenItem& item, bool wait,
                        unsigned long* exitCode) = 0;
    // A message box with the screen's title; no box and 0 for an empty text.
    virtual int Ask(const std::string& text, unsigned type) = 0;
    virtual void ForgetRestartPrompt() = 0;
    // Waits for the remembered restart prompt thread to end, then forgets
    // it; then, while the screen has agreed to end the session, for the
    // session's answer.
    virtual void WaitForRestartPrompt() = 0;
    // Calls for the restart and gives it its moment to come; returns when
    // it has not come, with the resume script taken back and the restart
    // marked as owed (OweRestart).
    virtual void RestartMachine() = 0;
    // Writes and registers the resume script for the members after the
    // slot; false when nothing was left behind.
    virtual bool WriteResumeScript(int resumeAfter) = 0;
};

// The trap prompt's box type for the restart mode.
inline unsigned TrapBoxType(int restartMode) {
    return restartMode != 0 ? kTrapAskBoxType : kTrapTellBoxType;
}

struct PushButtonPlan {
    bool hideScreen = false;
    bool wait = false;
    bool closeScreen = false;  // closed afterwards instead of restored
};
// "NO" 0, "YES" 1, "SHOW" 2 and any other value.
PushButtonPlan PlanPushButton(int option);
// Whether the chain waits for a member before the next: option "YES".
inline bool ChainMemberWaits(int option) { return option == 1; }
// The highest slot that holds a chain member, or -1.
int LastChainMember(const ScreenModel& screen);

// The body of a push button's worker: acts on the screen's current push
// button and clears it at the end.
void RunPushButtonSteps(ScreenModel& screen, ActionHost& host);
// The body of a chain's worker.
void RunChainSteps(ScreenModel& screen, ActionHost& host);

// What LaunchProgram hands to the system for a command line from the script.
struct PreparedLaunch {
    std::string commandLine;  // empty: nothing to start (no file, or too long)
    std::string directory;    // made current for the start
};
PreparedLaunch PrepareLaunch(Machine& machine, const std::string& commandLine);
