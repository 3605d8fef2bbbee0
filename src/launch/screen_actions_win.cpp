#include "launch/screen_actions_win.h"

#include "launch/launch_program_win.h"
#include "launch/restart_machine.h"
#include "launch/restart_trap_win.h"
#include "launch/screen_messages_win.h"
#include "ui/show_message.h"

namespace {
constexpr DWORD kRestartGraceMs = 20000;
constexpr DWORD kSessionLookMs = 100;
}  // namespace

void ScreenActions::HideScreen() { ShowWindow(host_.ScreenWindow(), SW_HIDE); }

void ScreenActions::RestoreScreen() {
    if (!host_.CloseRequested()) ShowWindow(host_.ScreenWindow(), SW_RESTORE);
}

void ScreenActions::ShowScreen() {
    if (!host_.CloseRequested()) ShowWindow(host_.ScreenWindow(), SW_SHOW);
}

void ScreenActions::CloseScreen() { PostMessageA(host_.ScreenWindow(), WM_CLOSE, 0, 0); }

void ScreenActions::EndScreen() {
    ShowWindow(host_.ScreenWindow(), SW_SHOWMINIMIZED);
    EndDialog(host_.ScreenWindow(), 1);
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
    request.waitLibrary = host_.WaitLibrary();
    request.exitCode = exitCode;
    return LaunchProgram(host_.ScreenWindow(), host_.HostMachine(), request);
}

int ScreenActions::Ask(const std::string& text, unsigned type) {
    return ShowMessage(text, model_.title, type);
}

void ScreenActions::ForgetRestartPrompt() { host_.Restarts().ForgetPrompt(); }

void ScreenActions::WaitForRestartPrompt() {
    host_.Restarts().WaitForPrompt();
    WaitForSession(false);
}

// A window that is already gone gets no end-session messages any more.
bool ScreenActions::ChainHolds(unsigned request) {
    return SendMessageA(host_.ScreenWindow(), kChainSession, request, 0) == 1;
}

void ScreenActions::WaitForSession(bool graced) {
    const DWORD start = GetTickCount();
    for (;;) {
        bool graceOver = graced && GetTickCount() - start >= kRestartGraceMs;
        if (!ChainHolds(graceOver ? kChainRestartGraceOver : kChainHolding)) return;
        Sleep(kSessionLookMs);
    }
}

// The restart call returns at once and the session ends a moment later:
// give it that moment, so that no further installer starts meanwhile. The
// restart may not come at all (no privilege, a program refused it) or come
// later than this; once the session has been asked, its answer is awaited.
void ScreenActions::RestartMachine() {
    ChainHolds(kChainRestartCalled);
    ::RestartMachine(model_.windowsVersion);
    WaitForSession(true);
}

bool ScreenActions::WriteResumeScript(int resumeAfter) {
    return host_.Restarts().WriteResumeScript(resumeAfter);
}
