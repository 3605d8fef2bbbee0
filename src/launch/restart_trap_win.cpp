#include "launch/restart_trap_win.h"

#include "launch/button_actions.h"
#include "launch/screen_messages_win.h"
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

bool RestartTrap::WriteResumeScript(int resumeAfter) {
    int number = RandomNumbers(SecondsSince1970()).Next();
    std::string path = ResumeScriptPath(machine_.TemporaryDirectory(), model_.programName, number);
    // The file first, complete, then the value that starts it: a failed
    // write never leaves a registration that would start a broken chain.
    if (!PutFileInPlace(path, ResumeScriptText(model_, resumeAfter))) return false;
    std::string command = RunOnceCommand(model_.programDirectory, model_.programName, path);
    if (pending_.Register(model_.programName, command, path)) return true;
    DeleteFileA(path.c_str());
    return false;
}

void RestartTrap::WaitForPrompt() {
    HANDLE prompt = prompt_.load();
    if (!prompt) return;
    WaitForSingleObject(prompt, INFINITE);
    // A prompt that a second query started meanwhile stays remembered.
    prompt_.compare_exchange_strong(prompt, nullptr);
}

bool RestartTrap::StartPrompt(WorkerThreads::Body body, void* argument) {
    // One prompt at a time: a request while one is shown is the same
    // restart, and the prompt already answers it for the member it came in.
    HANDLE shown = prompt_.load();
    if (shown && WaitForSingleObject(shown, 0) == WAIT_TIMEOUT) return false;
    HANDLE thread = workers_.StartKept(body, argument);
    if (thread) prompt_ = thread;
    return thread != nullptr;
}

DWORD WINAPI RestartTrap::TrapPrompt(void* argument) {
    ScreenModel& screen = static_cast<RestartTrap*>(argument)->model_;
    if (ShowMessage(screen.trapMessage, screen.title, TrapBoxType(screen.restartMode)) == IDYES)
        screen.restartNow = 1;
    return 0;
}

DWORD WINAPI RestartTrap::AllowPrompt(void* argument) {
    AllowRequest request = *static_cast<AllowRequest*>(argument);
    delete static_cast<AllowRequest*>(argument);
    ScreenModel& screen = request.trap->model_;
    ShowMessage(screen.allowMessage, screen.title, kAllowBoxType);
    request.trap->WriteResumeScript(request.resumeAfter);
    screen.restartNow = 1;
    return 0;
}

void RestartTrap::Take(SessionStep step) {
    if (step != SessionStep::kWithdrawAndOwe) return;
    pending_.Withdraw();
    OweRestart(model_);
}

void RestartTrap::EndSession(bool ending) { Take(session_.Ended(ending)); }

bool RestartTrap::ChainSession(unsigned request) {
    if (request == kChainRestartCalled) session_.RestartCalled();
    if (request == kChainRestartGraceOver) Take(session_.GraceOver());
    return !session_.ChainMayGoOn();
}

bool RestartTrap::QueryEndSession() {
    if (model_.runningMember.load() >= 0) model_.memberAsked = 1;
    EndSessionDecision decision = DecideEndSession(model_);
    switch (decision.answer) {
        case EndSessionAnswer::kTrap:
            model_.finalRestart = 1;
            StartPrompt(&TrapPrompt, this);
            return false;
        case EndSessionAnswer::kAskThenAllow: {
            auto* request = new AllowRequest{this, decision.resumeAfter};
            if (!StartPrompt(&AllowPrompt, request)) delete request;
            return false;
        }
        case EndSessionAnswer::kRestartLater:
            model_.restartLater = 1;
            return false;
        case EndSessionAnswer::kWriteAndPass:
            WriteResumeScript(decision.resumeAfter);
            session_.Agreed(Agreement::kWroteScript);
            return true;
        case EndSessionAnswer::kPass:
            break;
    }
    session_.Agreed(model_.restartNow.load() ? Agreement::kOwnRestart : Agreement::kNotOurs);
    return true;
}
