#include "script/resume_script.h"

#include "script/command_line.h"
#include "script/values.h"

std::string ResumeScriptPath(const std::string& temporaryDirectory, const std::string& programName,
                             int number) {
    return temporaryDirectory + programName + std::to_string(number) + ".INF";
}

std::string RunOnceCommand(const std::string& programDirectory, const std::string& programName,
                           const std::string& scriptPath) {
    return programDirectory + "\\" + programName + " " + scriptPath;
}

namespace {

const char kEnd[] = "\r\n";

std::string Entry(const std::string& key, const std::string& value) { return key + "=" + value + kEnd; }

// " 4, 7," for the slots after the running one that have the policy.
std::string PolicyList(const ScreenModel& screen, int first, int policy) {
    std::string list;
    for (int slot = first; slot < kSlotCount; ++slot) {
        const ScreenItem* item = screen.Button(slot);
        if (item && item->restartPolicy == policy) list += " " + std::to_string(slot) + ",";
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
            text += Entry("BUTTON" + std::to_string(slot), value(*item, screen));
    }
    return text;
}

std::string CommandAndOption(const ScreenItem& item, const ScreenModel& screen) {
    return BuildCommandLine(item, screen) + "," + std::to_string(item.option);
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

EndSessionAnswer DecideEndSession(const ScreenModel& screen) {
    if (screen.restartNow.load()) return EndSessionAnswer::kPass;
    const ScreenItem* item = screen.Button(screen.runningIndex.load());
    int policy = item ? item->restartPolicy : kNoPolicy;
    if (policy == kTrapRestart) return EndSessionAnswer::kTrap;
    if (policy == kAllowRestart) {
        return screen.allowMessage.empty() ? EndSessionAnswer::kWriteAndPass
                                           : EndSessionAnswer::kAskThenAllow;
    }
    return EndSessionAnswer::kPass;
}
