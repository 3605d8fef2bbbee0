#include "launch/screen_actions.h"

#include "launch/launch_program.h"
#include "launch/restart_machine.h"
#include "launch/restart_trap.h"
#include "launch/screen_messages.h"
#include "ui/show_message.h"

namespace {
constexpr DWORD kRestartGraceMs = 20000;
}  // namespace

void ScreenActions::HideScreen() { ShowWindow(screen_.ScreenWindow(), SW_HIDE); }

void ScreenActions::RestoreScreen() {
    if (!screen_.CloseRequested()) ShowWindow(screen_.ScreenWindow(), SW_RESTORE);
}

void ScreenActions::ShowScreen() {
    if (!screen_.CloseRequested()) ShowWindow(screen_.ScreenWindow(), SW_SHOW);
}

void ScreenActions::CloseScreen() { PostMessageA(screen_.ScreenWindow(), WM_CLOSE, 0, 0); }

void ScreenActions::EndScreen() {
    ShowWindow(screen_.ScreenWindow(), SW_SHOWMINIMIZED);
    EndDialog(screen_.ScreenWindow(), 1);
    ended_ = true;
}

bool ScreenActions::Launch(const std::string& commandLine, const ScreenItem& item, bool wait,
                           unsigned long* exitCode) {
    LaunchRequest request;
    request.commandLine = commandLine;
    request.programDirectory = model_.programDirectory;
    request.installMessage = item.installMessage.c_str();
    request.ignoreList = &item.ignoreList;
    request.wait = wait;
    request.waitLibrary = screen_.WaitLibrary();
    request.exitCode = exitCode;
    return LaunchProgram(screen_.ScreenWindow(), screen_.HostMachine(), request);
}

int ScreenActions::Ask(const std::string& text, unsigned type) {
    return ShowMessage(text, model_.title, type);
}

void ScreenActions::ForgetRestartPrompt() { screen_.Restarts().ForgetPrompt(); }

void ScreenActions::WaitForRestartPrompt() { screen_.Restarts().WaitForPrompt(); }

// The restart call returns at once and the session ends a moment later:
// give it that moment, so that no further installer starts meanwhile. The
// restart may not come at all (no privilege, a program refused it) or come
// later than this.
void ScreenActions::RestartMachine() {
    ::RestartMachine(model_.windowsVersion);
    Sleep(kRestartGraceMs);
}

// On the screen's thread while its window is there (the handler answers 1);
// a window that is already gone gets no queries any more.
void ScreenActions::RestartDidNotCome() {
    if (SendMessageA(screen_.ScreenWindow(), kRestartDidNotCome, 0, 0) == 1) return;
    screen_.Restarts().RestartDidNotCome();
}

bool ScreenActions::WriteResumeScript(int resumeAfter) {
    return screen_.Restarts().WriteResumeScript(resumeAfter);
}
