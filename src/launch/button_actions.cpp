#include "launch/button_actions.h"

#include "launch/target_resolution.h"
#include "script/command_line.h"
#include "script/program_paths.h"
#include "script/resume_script.h"

PushButtonPlan PlanPushButton(int option) {
    PushButtonPlan plan;
    switch (option) {
        case 0:  // "NO"
            plan.hideScreen = true;
            plan.wait = true;
            break;
        case 1:  // "YES"
            plan.hideScreen = true;
            plan.closeScreen = true;
            break;
        case 2:  // "SHOW"
            plan.wait = true;
            break;
        default:
            break;
    }
    return plan;
}

int LastChainMember(const ScreenModel& screen) {
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        const ScreenItem* item = screen.Button(slot);
        if (item && item->IsChainMember()) return slot;
    }
    return -1;
}

void RunPushButtonSteps(ScreenModel& screen, ActionHost& host) {
    ScreenItem* button = screen.currentPushButton.load();
    if (!button) return;
    PushButtonPlan plan = PlanPushButton(button->option);
    if (!button->command.empty()) {
        if (plan.hideScreen) host.HideScreen();
        std::string line = BuildCommandLine(*button, screen);
        if (!host.Launch(line, *button, plan.wait, nullptr))
            host.Ask(button->failureMessage, kFailureBoxType);
    }
    if (plan.closeScreen) {
        host.CloseScreen();
    } else {
        host.RestoreScreen();
    }
    screen.currentPushButton.compare_exchange_strong(button, nullptr);
}

namespace {

// Before the next member (or at the chain's end): a restart held back until
// the member that ran has ended is made now, with the script for the
// members after resumeAfter; then the restart that was asked for.
void RestartIfAsked(ScreenModel& screen, ActionHost& host, int resumeAfter) {
    if (screen.restartLater.exchange(0)) {
        if (resumeAfter >= 0) host.WriteResumeScript(resumeAfter);
        screen.restartNow = 1;
    }
    if (screen.restartNow.load()) host.RestartMachine();
}

// A member that reports a needed restart by its exit code is treated as if
// it had asked for one while it ran.
void TakeReportedRestart(ScreenModel& screen, ActionHost& host, const ScreenItem& item, bool waited,
                         unsigned long exitCode, int resumeAfter) {
    switch (RestartPolicyOfExitCode(item, waited, exitCode)) {
        case kTrapRestart:
            screen.finalRestart = 1;
            if (host.Ask(screen.trapMessage, TrapBoxType(screen.restartMode)) == kAnswerYes)
                screen.restartNow = 1;
            break;
        case kAllowRestart:
            host.Ask(screen.allowMessage, kAllowBoxType);
            if (resumeAfter >= 0) host.WriteResumeScript(resumeAfter);
            screen.restartNow = 1;
            break;
        default:
            break;
    }
}

}  // namespace

void RunChainSteps(ScreenModel& screen, ActionHost& host) {
    bool close = screen.closeAfterChain.load() != 0 || screen.resumed != 0;
    screen.finalRestart = 0;
    screen.restartOwed = 0;
    host.HideScreen();
    const int last = LastChainMember(screen);
    host.ForgetRestartPrompt();
    bool aborted = false;
    int resumeAfter = -1;  // of the member that ran last
    for (int slot = 0; slot <= last && !aborted; ++slot) {
        for (;;) {
            host.WaitForRestartPrompt();
            RestartIfAsked(screen, host, resumeAfter);
            const ScreenItem* item = screen.Button(slot);
            if (!item || !item->IsChainMember()) break;
            // Nothing is left to resume once the last member runs.
            resumeAfter = slot == last ? -1 : slot;
            screen.memberAsked = 0;
            screen.runningIndex = resumeAfter;
            screen.runningMember = slot;
            std::string line = BuildCommandLine(*item, screen);
            bool wait = ChainMemberWaits(item->option);
            unsigned long exitCode = 0;
            bool started = host.Launch(line, *item, wait, &exitCode);
            screen.runningMember = -1;
            if (started) {
                // One request per run: an installer that asked and then
                // reports it by its exit code (1641) has been answered.
                if (!screen.memberAsked.load())
                    TakeReportedRestart(screen, host, *item, wait, exitCode, resumeAfter);
                break;
            }
            screen.failingMember = slot;
            int answer = host.Ask(item->failureMessage, kChainFailureBoxType);
            screen.failingMember = -1;
            if (answer == kAnswerRetry) continue;
            if (answer == kAnswerAbort) {
                close = false;
                aborted = true;
            }
            break;
        }
    }
    screen.runningIndex = -1;
    // A prompt still open, or a session's answer still awaited, decides
    // before the end; a restart that did not come is owed and made now,
    // with nothing left to resume, unless the final question offers it.
    host.WaitForRestartPrompt();
    if (screen.restartOwed.exchange(0) && !screen.finalRestart.load()) screen.restartNow = 1;
    if (screen.restartLater.load() || screen.restartNow.load()) {
        RestartIfAsked(screen, host, -1);
    } else if (screen.finalRestart.load() &&
               host.Ask(screen.finalRestartMessage, kFinalRestartBoxType) == kAnswerYes) {
        host.RestartMachine();
    }
    // A chain that started with the screen ([REBOOTED] or [RUN]) shrank it to
    // nothing first; showing it again would leave a process without a
    // usable window, so such a chain ends the program even after Abort.
    if (screen.resumed || screen.autoRun || close) {
        host.EndScreen();
    } else {
        host.ShowScreen();
    }
}

PreparedLaunch PrepareLaunch(Machine& machine, const std::string& commandLine) {
    PreparedLaunch prepared;
    std::string absolute = ResolveScriptPath(machine, commandLine);
    if (absolute.size() > kMaxPathChars) return prepared;
    prepared.commandLine = ResolveTarget(machine, absolute);
    // Taken from the whole line: a backslash in the arguments makes it name
    // no directory, and the start keeps the directory in force before.
    if (!prepared.commandLine.empty()) prepared.directory = DirectoryOf(machine, prepared.commandLine.c_str());
    return prepared;
}
