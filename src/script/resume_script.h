#pragma once
// The resume script: what carries a chain across a restart of the machine.
// It is written in the screen-script grammar and read back by the ordinary
// reader after the restart.
#include <string>

#include "script/screen_model.h"

// TEMP\ + program name + number + ".INF".
std::string ResumeScriptPath(const std::string& temporaryDirectory, const std::string& programName,
                             int number);
// The whole file, CR LF line ends, for the chain members after the running
// slot (command lines built now, with their references folded in).
std::string ResumeScriptText(const ScreenModel& screen, int runningIndex);
// The run-once command that starts the program on the resume script. The
// program's path is quoted when it holds a blank, so that the started
// program finds where its own name ends.
std::string RunOnceCommand(const std::string& programDirectory, const std::string& programName,
                           const std::string& scriptPath);

// What the screen answers when Windows asks to end the session.
enum class EndSessionAnswer {
    kPass,           // let the session end
    kTrap,           // refuse, remember the restart, tell or ask the user
    kAskThenAllow,   // refuse, show the allow message, write the script, restart
    kWriteAndPass,   // write the script, then let the session end
    kRestartLater,   // refuse; write the script and restart once the member has ended
};
struct EndSessionDecision {
    EndSessionAnswer answer;
    // The resume script lists the members after this slot; -1 when nothing
    // is left to resume (the chain's last member runs, or none).
    int resumeAfter;
};
// Read once per query: the script is written from this decision, never
// from the running index of a later moment.
EndSessionDecision DecideEndSession(const ScreenModel& screen);

// A restart that the screen called for or let through has not come (no
// query within the grace, or the session went on after all): the chain
// goes on, and the restart stays owed.
void OweRestart(ScreenModel& screen);

// Installers that report a needed restart by their exit code instead of
// asking for one.
constexpr unsigned long kExitRestartRequired = 3010;   // changes take effect after a restart
constexpr unsigned long kExitRestartInitiated = 1641;  // the installer started a restart
// The restart policy that applies to a chain member's exit code: kNoPolicy
// unless the member was waited for, has a policy and reported a restart.
int RestartPolicyOfExitCode(const ScreenItem& item, bool waited, unsigned long exitCode);
