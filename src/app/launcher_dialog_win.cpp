#include "app/launcher_dialog.h"

#include "app/launcher_app.h"
#include "app/dialog_screen_host.h"
#include "app/startup.h"
#include "script/machine.h"
#include "launch/run_chain.h"
#include "resource.h"
#include "script/resume_script.h"
#include "script/screen_script.h"
#include "script/system_facts.h"
#include "script/values.h"
#include "ui/dib_bitmap.h"
#include "ui/hot_button.h"
#include "ui/show_message.h"
#include "ui/sound_lock.h"

namespace {
const char kInstanceAtom[] = "TAVLO_CHECKINSTANCE_ATOM";
// Marks the window of an open screen, so that an atom left behind by a copy
// that was killed (end task, a crash, a restart that Wine lets through
// without restarting the machine) does not keep every later screen shut.
const char kScreenMark[] = "TAVLO_CHECKINSTANCE_SCREEN";

struct ScreenSearch {
    HWND self;
    bool found;
};

BOOL CALLBACK FindMarkedScreen(HWND window, LPARAM argument) {
    auto* search = reinterpret_cast<ScreenSearch*>(argument);
    if (window == search->self || !GetPropA(window, kScreenMark)) return TRUE;
    search->found = true;
    return FALSE;
}
}

const MessageEntry<LauncherDialog> LauncherDialog::kMessages[] = {
    {WM_PAINT, &LauncherDialog::OnPaint},                      // ()
    {WM_QUERYENDSESSION, &LauncherDialog::OnQueryEndSession},  // () -> TRUE lets the session end
    {WM_ENDSESSION, &LauncherDialog::OnEndSession},            // (BOOL ending)
    {WM_DRAWITEM, &LauncherDialog::OnDrawItem},                // (id, DRAWITEMSTRUCT*)
    {kLaunchNotice, &LauncherDialog::OnLaunchNotice},          // (const char* text, int show)
    {kRestartDidNotCome, &LauncherDialog::OnRestartDidNotCome},  // ()
    {WM_DESTROY, &LauncherDialog::OnDestroy, kThenDefault},     // ()
};

LauncherDialog::LauncherDialog(HWND parent) : DialogWindow(IDD_SCREEN, parent) {
    std::string programFile = TheMachine().ProgramFile();
    screen_.programName = ProgramNameOf(programFile);
    screen_.title = screen_.programName;
    screen_.programDirectory = DirectoryOf(nullptr);
    screen_.scriptPath = ScriptPathFor(CommandLineArguments(GetCommandLineA()), screen_.programName);
    CentreAfterInit(true);
}

LauncherDialog::~LauncherDialog() {
    workers_.WaitForAll();
    PlaySoundLocked(nullptr, 0);
    background_.reset();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        hotButtons_[slot].reset();
        screen_.buttons[slot].reset();
        screen_.texts[slot].reset();
        if (screen_.fonts[slot]) DeleteObject(static_cast<HFONT>(screen_.fonts[slot]));
        screen_.fonts[slot] = nullptr;
        bitmapCache_[slot].reset();
    }
    if (screenPalette_) DeleteObject(screenPalette_);
    if (waitLibrary_) FreeLibrary(waitLibrary_);
    if (instanceAtom_) GlobalDeleteAtom(instanceAtom_);
    messageWindow_.Destroy();
}

bool LauncherDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return DispatchMessageTable(kMessages, this, message, wParam, lParam, result);
}

bool LauncherDialog::OnInitDialog() {
    SetPropA(Handle(), kScreenMark, reinterpret_cast<HANDLE>(1));
    screen_.windowsVersion = DetectWindowsVersion();
    waitLibrary_ = LoadLibraryA(WaitLibraryName(screen_.programName, screen_.windowsVersion).c_str());
    if (!waitLibrary_) CloseAtOnce();
    LoadScript();
    SetWindowTextA(Handle(), screen_.title.c_str());
    switch (PlanStart(screen_.resumed != 0, screen_.autoRun != 0, closing_)) {
        case StartPlan::kKeepResume:
            KeepResumeScript();
            break;
        case StartPlan::kDeleteAndResume:
            if (DeleteResumeScript()) StartHiddenChain();
            break;
        case StartPlan::kRunChain:
            StartHiddenChain();
            break;
        case StartPlan::kPlayIntro:
            PlayIntroSound();
            break;
    }
    return false;
}

// Windows deleted the run-once value when it started this copy; the chain
// is still to run, so the next start of Windows (or log-on) gets it again.
void LauncherDialog::KeepResumeScript() {
    MoveWindow(Handle(), 0, 0, 0, 0, TRUE);  // a resumed screen is never seen
    RegistryRunOnceKeys keys;
    std::string command =
        RunOnceCommand(screen_.programDirectory, screen_.programName, screen_.scriptPath);
    RegisterRunOnce(keys, screen_.programName, command);
}

void LauncherDialog::LoadScript() {
    DialogScreenHost host(*this);
    ScreenScript script(screen_, host);
    script.Load(screen_.scriptPath);
    MakeScreenPalette();
}

// Each picture brings its own colour table, but a 256-colour display shows
// one palette at a time: the screen makes one from all of them and draws
// every picture through it.
void LauncherDialog::MakeScreenPalette() {
    DibBitmap* pictures[kMaxScreenPictures];
    std::size_t count = 0;
    if (background_) pictures[count++] = background_.get();
    for (const std::unique_ptr<DibBitmap>& cached : bitmapCache_) {
        if (cached && count < kMaxScreenPictures) pictures[count++] = cached.get();
    }
    screenPalette_ = ShareScreenPalette(pictures, count);
}

void LauncherDialog::CloseAtOnce() {
    closing_ = true;
    EndDialog(Handle(), IDCANCEL);
}

bool LauncherDialog::DeleteResumeScript() {
    if (DeleteFileA(screen_.scriptPath.c_str())) return true;
    ShowMessage(DeleteFailureText(GetLastError(), screen_.scriptPath), screen_.title,
                MB_OK | MB_ICONSTOP);
    return false;
}

void LauncherDialog::PlayIntroSound() {
    IntroSound sound = SplitIntroSound(screen_.introSound);
    PlaySoundLocked(sound.file.c_str(), sound.seconds);
}

void LauncherDialog::StartHiddenChain() {
    MoveWindow(Handle(), 0, 0, 0, 0, TRUE);
    // A screen that closes right after initialisation runs no chain: the
    // worker would act on a dialog that is already going away.
    if (!closing_) StartWorker(&RunChain);
}

bool LauncherDialog::StartWorker(WorkerThreads::Body body) {
    int idle = kActionIdle;
    if (!action_.compare_exchange_strong(idle, kActionRunning)) return false;
    if (workers_.Start(body, this)) return true;
    action_ = kActionIdle;
    return false;
}

bool LauncherDialog::StartPushButton(ScreenItem& button) {
    if (action_.load() != kActionIdle) return false;
    screen_.currentPushButton = &button;
    if (StartWorker(&RunPushButton)) return true;
    screen_.currentPushButton = nullptr;
    return false;
}

bool LauncherDialog::StartChain(int closeAfterChain) {
    if (action_.load() != kActionIdle) return false;
    screen_.closeAfterChain = closeAfterChain;
    return StartWorker(&RunChain);
}

void LauncherDialog::FinishAction(bool screenEnded) {
    int running = kActionRunning;
    if (action_.compare_exchange_strong(running, kActionIdle)) return;
    // Closed while the action ran. Nothing else ends the screen while the
    // request is pending, so the window is still there.
    if (!screenEnded) EndDialog(Handle(), IDCANCEL);
    action_ = kActionIdle;
}

void LauncherDialog::OnCancel() {
    int running = kActionRunning;
    if (action_.compare_exchange_strong(running, kActionCloseRequested)) {
        // A worker still acts on this window: it goes out of sight now and
        // ends when the worker finishes. An install message stays while its
        // program runs.
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    if (running == kActionCloseRequested) return;
    EndDialog(Handle(), IDCANCEL);
}

HANDLE LauncherDialog::StartRestartPrompt(WorkerThreads::Body body, void* argument) {
    HANDLE thread = workers_.StartKept(body, argument);
    if (thread) restartPromptThread_ = thread;
    return thread;
}

LRESULT LauncherDialog::OnDestroy(WPARAM, LPARAM) {
    RemovePropA(Handle(), kScreenMark);
    return 0;
}

bool LauncherDialog::AnotherScreenIsOpen() {
    ScreenSearch search = {Handle(), false};
    EnumWindows(&FindMarkedScreen, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void LauncherDialog::CheckSingleInstance(int runMultiple) {
    if (runMultiple == 0 && GlobalFindAtomA(kInstanceAtom) && AnotherScreenIsOpen()) {
        TheApp().RequestActivateEarlierInstance();
        screen_.introSound.clear();
        closing_ = true;
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    instanceAtom_ = GlobalAddAtomA(kInstanceAtom);
}
