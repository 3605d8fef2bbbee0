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
// The run-once command that starts the program on the resume script.
std::string RunOnceCommand(const std::string& programDirectory, const std::string& programName,
                           const std::string& scriptPath);

// What the screen answers when Windows asks to end the session.
enum class EndSessionAnswer {
    kPass,          // let the session end
    kTrap,          // refuse, remember the restart, tell or ask the user
    kAskThenAllow,  // refuse, show the allow message, write the script, restart
    kWriteAndPass,  // write the script, then let the session end
};
EndSessionAnswer DecideEndSession(const ScreenModel& screen);
