#include "launch/run_chain.h"

#include "launch/action_screen.h"
#include "launch/button_actions.h"
#include "launch/launch_program.h"
#include "launch/restart_machine.h"
#include "launch/restart_trap.h"
#include "launch/screen_messages.h"
#include "ui/show_message.h"

namespace {

constexpr DWORD kRestartGraceMs = 20000;

// The steps of an action, acted out on the main screen.
class ScreenActions : public ActionHost {
public:
    explicit ScreenActions(ActionScreen& screen) : screen_(screen), model_(screen.Model()) {}
    bool ScreenEnded() const { return ended_; }

    void HideScreen() override { ShowWindow(screen_.ScreenWindow(), SW_HIDE); }
    void RestoreScreen() override {
        if (!screen_.CloseRequested()) ShowWindow(screen_.ScreenWindow(), SW_RESTORE);
    }
    void ShowScreen() override {
        if (!screen_.CloseRequested()) ShowWindow(screen_.ScreenWindow(), SW_SHOW);
    }
    void CloseScreen() override { PostMessageA(screen_.ScreenWindow(), WM_CLOSE, 0, 0); }
    void EndScreen() override {
        ShowWindow(screen_.ScreenWindow(), SW_SHOWMINIMIZED);
        EndDialog(screen_.ScreenWindow(), 1);
        ended_ = true;
    }
    bool Launch(const std::string& commandLine, const ScreenItem& item, bool wait,
                unsigned long* exitCode) override {
        LaunchRequest request;
        request.commandLine = commandLine;
        request.programDirectory = model_.programDirectory;
        request.installMessage = item.installMessage.c_str();
        request.ignoreList = &item.ignoreList;
        request.wait = wait;
        request.waitLibrary = screen_.WaitLibrary();
        request.exitCode = exitCode;
        return LaunchProgram(screen_.ScreenWindow(), request);
    }
    int Ask(const std::string& text, unsigned type) override {
        return ShowMessage(text, model_.title, type);
    }
    void ForgetRestartPrompt() override { screen_.Restarts().ForgetPrompt(); }
    void WaitForRestartPrompt() override { screen_.Restarts().WaitForPrompt(); }
    // The restart call returns at once and the session ends a moment later:
    // give it that moment, so that no further installer starts meanwhile.
    // The restart may not come at all (no privilege, a program refused it)
    // or come later than this.
    void RestartMachine() override {
        ::RestartMachine(model_.windowsVersion);
        Sleep(kRestartGraceMs);
    }
    // On the screen's thread while its window is there (the handler answers
    // 1); a window that is already gone gets no queries any more.
    void RestartDidNotCome() override {
        if (SendMessageA(screen_.ScreenWindow(), kRestartDidNotCome, 0, 0) == 1) return;
        screen_.Restarts().RestartDidNotCome();
    }
    bool WriteResumeScript(int resumeAfter) override {
        return screen_.Restarts().WriteResumeScript(resumeAfter);
    }

private:
    ActionScreen& screen_;
    ScreenModel& model_;
    bool ended_ = false;
};

}  // namespace

DWORD WINAPI RunChain(void* argument) {
    auto& screen = *static_cast<ActionScreen*>(argument);
    ScreenActions actions(screen);
    RunChainSteps(screen.Model(), actions);
    screen.FinishAction(actions.ScreenEnded());
    return 0;
}

DWORD WINAPI RunPushButton(void* argument) {
    auto& screen = *static_cast<ActionScreen*>(argument);
    ScreenActions actions(screen);
    RunPushButtonSteps(screen.Model(), actions);
    screen.FinishAction(actions.ScreenEnded());
    return 0;
}
