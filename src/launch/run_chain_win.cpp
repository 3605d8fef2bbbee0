#include "launch/run_chain.h"

#include "app/launcher_dialog.h"
#include "app/restart_machine.h"
#include "app/restart_trap.h"
#include "launch/button_actions.h"
#include "launch/launch_program.h"
#include "script/resume_script.h"
#include "ui/show_message.h"

namespace {

constexpr DWORD kRestartGraceMs = 20000;

// The steps of an action, acted out on the main screen.
class ScreenActions : public ActionHost {
public:
    explicit ScreenActions(LauncherDialog& dialog) : dialog_(dialog), screen_(dialog.Screen()) {}
    bool ScreenEnded() const { return ended_; }

    void HideScreen() override { ShowWindow(dialog_.Handle(), SW_HIDE); }
    void RestoreScreen() override {
        if (!dialog_.CloseRequested()) ShowWindow(dialog_.Handle(), SW_RESTORE);
    }
    void ShowScreen() override {
        if (!dialog_.CloseRequested()) ShowWindow(dialog_.Handle(), SW_SHOW);
    }
    void CloseScreen() override { PostMessageA(dialog_.Handle(), WM_CLOSE, 0, 0); }
    void EndScreen() override {
        ShowWindow(dialog_.Handle(), SW_SHOWMINIMIZED);
        EndDialog(dialog_.Handle(), 1);
        ended_ = true;
    }
    bool Launch(const std::string& commandLine, const ScreenItem& item, bool wait,
                unsigned long* exitCode) override {
        LaunchRequest request;
        request.commandLine = commandLine;
        request.programDirectory = screen_.programDirectory;
        request.installMessage = item.installMessage.c_str();
        request.ignoreList = &item.ignoreList;
        request.wait = wait;
        request.waitLibrary = dialog_.WaitLibrary();
        request.exitCode = exitCode;
        return LaunchProgram(dialog_.Handle(), request);
    }
    int Ask(const std::string& text, unsigned type) override {
        return ShowMessage(text, screen_.title, type);
    }
    void ForgetRestartPrompt() override { dialog_.RestartPromptThread() = nullptr; }
    void WaitForRestartPrompt() override {
        HANDLE prompt = dialog_.RestartPromptThread().load();
        if (!prompt) return;
        WaitForSingleObject(prompt, INFINITE);
        // A prompt that a second query started meanwhile stays remembered.
        dialog_.RestartPromptThread().compare_exchange_strong(prompt, nullptr);
    }
    // The restart call returns at once and the session ends a moment later:
    // give it that moment, so that no further installer starts meanwhile.
    // The restart may not come at all (no privilege, a program refused it)
    // or come later than this.
    void RestartMachine() override {
        ::RestartMachine(screen_.windowsVersion);
        Sleep(kRestartGraceMs);
    }
    // On the screen's thread while its window is there (the handler answers
    // 1); a window that is already gone gets no queries any more.
    void RestartDidNotCome() override {
        if (SendMessageA(dialog_.Handle(), kRestartDidNotCome, 0, 0) == 1) return;
        dialog_.PendingResumeScript().Withdraw();
        ::RestartDidNotCome(screen_);
    }
    bool WriteResumeScript(int resumeAfter) override {
        return ::WriteResumeScript(dialog_, resumeAfter);
    }

private:
    LauncherDialog& dialog_;
    ScreenModel& screen_;
    bool ended_ = false;
};

}  // namespace

DWORD WINAPI RunChain(void* argument) {
    auto& dialog = *static_cast<LauncherDialog*>(argument);
    ScreenActions actions(dialog);
    RunChainSteps(dialog.Screen(), actions);
    dialog.FinishAction(actions.ScreenEnded());
    return 0;
}

DWORD WINAPI RunPushButton(void* argument) {
    auto& dialog = *static_cast<LauncherDialog*>(argument);
    ScreenActions actions(dialog);
    RunPushButtonSteps(dialog.Screen(), actions);
    dialog.FinishAction(actions.ScreenEnded());
    return 0;
}
