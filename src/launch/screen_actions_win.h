#pragma once
// The steps of a button action (ActionHost), acted out on the screen that
// the action was started on, and on this machine.
#include <string>

#include "launch/action_worker_host_win.h"
#include "launch/button_actions.h"

class ScreenActions : public ActionHost {
public:
    explicit ScreenActions(ActionWorkerHost& host) : host_(host), model_(host.Model()) {}
    // Whether a step ended the screen itself.
    bool ScreenEnded() const { return ended_; }

    void HideScreen() override;
    void RestoreScreen() override;
    void ShowScreen() override;
    void CloseScreen() override;
    void EndScreen() override;
    bool Launch(const std::string& commandLine, const ScreenItem& item, bool wait,
                unsigned long* exitCode) override;
    int Ask(const std::string& text, unsigned type) override;
    void ForgetRestartPrompt() override;
    void WaitForRestartPrompt() override;
    void RestartMachine() override;
    bool WriteResumeScript(int resumeAfter) override;

private:
    // Asks the screen's thread about the session (ChainSessionRequest);
    // true while the chain must hold.
    bool ChainHolds(unsigned request);
    // Until the chain may go on; the grace of its own restart runs out
    // meanwhile when graced.
    void WaitForSession(bool graced);

    ActionWorkerHost& host_;
    ScreenModel& model_;
    bool ended_ = false;
};
