#include "script/resume_script.h"

#include "script/command_line.h"
#include "script/line_breaks.h"
#include "script/numbers.h"

std::string ResumeScriptPath(const std::string& temporaryDirectory, const std::string& programName,
                             int number) {
    return temporaryDirectory + programName + DecimalText(number) + ".INF";
}

std::string RunOnceCommand(const std::string& programDirectory, const std::string& programName,
                           const std::string& scriptPath) {
    std::string program = programDirectory + "\\" + programName;
    if (program.find(' ') != std::string::npos) program = "\"" + program + "\"";
    return program + " " + scriptPath;
}

namespace {

const char kEnd[] = "\r\n";

std::string Entry(const std::string& key, const std::string& value) { return key + "=" + value + kEnd; }

// " 4, 7," for the slots after the running one that have the policy.
std::string PolicyList(const ScreenModel& screen, int first, int policy) {
    std::string list;
    for (int slot = first; slot < kSlotCount; ++slot) {
        const ScreenItem* item = screen.Button(slot);
        if (item && item->restartPolicy == policy) list += " " + DecimalText(slot) + ",";
    }
    return list;
}

using MemberValue = std::string (*)(const ScreenItem&, const ScreenModel&);

// One per-button section: "BUTTONs=value" for each chain member left.
std::string MemberSection(const char* section, const ScreenModel& screen, int first,
                          MemberValue value) {
    std::string text = std::string(kEnd) + section + kEnd;
    for (int slot = first; slot < kSlotCount; ++slot) {
        const ScreenItem* item = screen.Button(slot);
        if (item && item->IsChainMember())
            text += Entry("BUTTON" + DecimalText(slot), value(*item, screen));
    }
    return text;
}

std::string CommandAndOption(const ScreenItem& item, const ScreenModel& screen) {
    return BuildCommandLine(item, screen) + "," + DecimalText(item.option);
}

std::string IgnoreNames(const ScreenItem& item, const ScreenModel&) {
    std::string names;
    for (const std::string& name : item.ignoreList) names += name + ",";
    return names;
}

std::string InstallMessage(const ScreenItem& item, const ScreenModel&) {
    return EncodeLineBreaks(item.installMessage);
}

std::string FailureMessage(const ScreenItem& item, const ScreenModel&) {
    return EncodeLineBreaks(item.failureMessage);
}

}  // namespace

std::string ResumeScriptText(const ScreenModel& screen, int runningIndex) {
    int first = runningIndex + 1;
    std::string text = std::string("[BEGIN]") + kEnd;
    text += Entry("TITLE", screen.title);
    text += Entry("TRAPREBOOTMODE", screen.restartMode != 0 ? "YESNO" : "OK");
    text += Entry("TRAPREBOOT", EncodeLineBreaks(screen.trapMessage));
    text += Entry("FINALREBOOT", EncodeLineBreaks(screen.finalRestartMessage));
    text += Entry("ALLOWREBOOT", EncodeLineBreaks(screen.allowMessage));
    text += Entry("TRAPREBOOTBUTTONS", PolicyList(screen, first, kTrapRestart));
    text += Entry("ALLOWREBOOTBUTTONS", PolicyList(screen, first, kAllowRestart));
    text += MemberSection("[REBOOTED]", screen, first, &CommandAndOption);
    text += MemberSection("[IGNOREWAITPROCESS]", screen, first, &IgnoreNames);
    text += MemberSection("[INSTALLMESSAGE]", screen, first, &InstallMessage);
    text += MemberSection("[MESSAGE]", screen, first, &FailureMessage);
    text += std::string(kEnd) + "[END]" + kEnd;
    return text;
}

EndSessionDecision DecideEndSession(const ScreenModel& screen) {
    if (screen.restartNow.load()) return {EndSessionAnswer::kPass, -1};
    // A member whose failure box is open is not done: the script lists it.
    const int failing = screen.failingMember.load();
    const int running = failing >= 0 ? failing - 1 : screen.runningIndex.load();
    const ScreenItem* item = screen.Button(failing >= 0 ? failing : running);
    int policy = item ? item->restartPolicy : kNoPolicy;
    if (policy == kTrapRestart) return {EndSessionAnswer::kTrap, running};
    if (policy == kAllowRestart && !screen.allowMessage.empty())
        return {EndSessionAnswer::kAskThenAllow, running};
    // A restart that the screen called for and that did not come may still
    // arrive, and the member running then may not be the one that asked:
    // letting it through could cut that member off with nothing to resume
    // it. It is held back until the member has ended, and then made with
    // the script for the members after it.
    if (screen.restartOwed.load() && screen.runningMember.load() >= 0)
        return {EndSessionAnswer::kRestartLater, running};
    if (policy == kAllowRestart) return {EndSessionAnswer::kWriteAndPass, running};
    return {EndSessionAnswer::kPass, -1};
}

void OweRestart(ScreenModel& screen) {
    screen.restartNow = 0;
    screen.restartOwed = 1;
}

int RestartPolicyOfExitCode(const ScreenItem& item, bool waited, unsigned long exitCode) {
    if (!waited) return kNoPolicy;
    if (exitCode != kExitRestartRequired && exitCode != kExitRestartInitiated) return kNoPolicy;
    return item.restartPolicy;
}
