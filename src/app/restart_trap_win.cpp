#include "app/restart_trap.h"

#include "app/launcher_dialog.h"
#include "launch/button_actions.h"
#include "script/machine.h"
#include "script/random_numbers.h"
#include "script/resume_script.h"
#include "ui/show_message.h"

namespace {

// The current time in whole seconds since 1970, UTC.
unsigned long SecondsSince1970() {
    constexpr unsigned long long kTicksPerSecond = 10000000;  // FILETIME counts 100 ns
    constexpr unsigned long long kSeconds1601To1970 = 11644473600ull;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
                               now.dwLowDateTime;
    return static_cast<unsigned long>(ticks / kTicksPerSecond - kSeconds1601To1970);
}

// Writes the whole text or reports failure; a full disk shows up here.
bool WriteWholeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size() && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

// The file is complete under its final name, or not there at all.
bool PutFileInPlace(const std::string& path, const std::string& text) {
    std::string partial = path.substr(0, path.size() - 4) + ".TMP";
    if (!WriteWholeFile(partial, text)) return false;
    DeleteFileA(path.c_str());  // a script of the same second is replaced
    if (MoveFileA(partial.c_str(), path.c_str())) return true;
    DeleteFileA(partial.c_str());
    return false;
}

}  // namespace

bool WriteResumeScript(LauncherDialog& dialog, int resumeAfter) {
    ScreenModel& screen = dialog.Screen();
    int number = RandomNumbers(SecondsSince1970()).Next();
    std::string path = ResumeScriptPath(TheMachine().TemporaryDirectory(), screen.programName, number);
    // The file first, complete, then the value that starts it: a failed
    // write never leaves a registration that would start a broken chain.
    if (!PutFileInPlace(path, ResumeScriptText(screen, resumeAfter))) return false;
    std::string command = RunOnceCommand(screen.programDirectory, screen.programName, path);
    if (dialog.PendingResumeScript().Register(screen.programName, command, path)) return true;
    DeleteFileA(path.c_str());
    return false;
}

DWORD WINAPI TrapPrompt(void* argument) {
    auto& dialog = *static_cast<LauncherDialog*>(argument);
    ScreenModel& screen = dialog.Screen();
    if (ShowMessage(screen.trapMessage, screen.title, TrapBoxType(screen.restartMode)) == IDYES)
        screen.restartNow = 1;
    return 0;
}

DWORD WINAPI AllowPrompt(void* argument) {
    AllowPromptRequest request = *static_cast<AllowPromptRequest*>(argument);
    delete static_cast<AllowPromptRequest*>(argument);
    ScreenModel& screen = request.dialog->Screen();
    ShowMessage(screen.allowMessage, screen.title, kAllowBoxType);
    WriteResumeScript(*request.dialog, request.resumeAfter);
    screen.restartNow = 1;
    return 0;
}

// Windows asked every program and one of them refused: the session goes on,
// and so does the chain, so a resume script written for it must not stay.
LRESULT LauncherDialog::OnEndSession(WPARAM ending, LPARAM) {
    if (!ending && WithdrawWhenSessionGoesOn(screen_)) pendingResume_.Withdraw();
    return 0;
}

// Sent by the chain when the restart it called for has not come: on this
// thread, so that no end-session query falls between the two steps.
LRESULT LauncherDialog::OnRestartDidNotCome(WPARAM, LPARAM) {
    pendingResume_.Withdraw();
    RestartDidNotCome(screen_);
    return 1;
}

LRESULT LauncherDialog::OnQueryEndSession(WPARAM, LPARAM) {
    EndSessionDecision decision = DecideEndSession(screen_);
    switch (decision.answer) {
        case EndSessionAnswer::kTrap:
            screen_.finalRestart = 1;
            StartRestartPrompt(&TrapPrompt, this);
            return FALSE;
        case EndSessionAnswer::kAskThenAllow: {
            auto* request = new AllowPromptRequest{this, decision.resumeAfter};
            if (!StartRestartPrompt(&AllowPrompt, request)) delete request;
            return FALSE;
        }
        case EndSessionAnswer::kRestartLater:
            screen_.restartLater = 1;
            return FALSE;
        case EndSessionAnswer::kWriteAndPass:
            WriteResumeScript(*this, decision.resumeAfter);
            return TRUE;
        case EndSessionAnswer::kPass:
            return TRUE;
    }
    return TRUE;
}
