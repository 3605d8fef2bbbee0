#include "app/launcher_dialog_win.h"

#include "app/intro_sound.h"
#include "app/script_location.h"
#include "app/start_plan.h"
#include "app/wait_library_name.h"
#include "launch/action_workers_win.h"
#include "launch/registry_run_once_keys.h"
#include "resource.h"
#include "script/machine.h"
#include "script/program_paths.h"
#include "script/resume_script.h"
#include "script/screen_scale.h"
#include "script/screen_script.h"
#include "script/windows_version.h"
#include "ui/show_message.h"
#include "ui/sound_lock.h"

LauncherDialog::LauncherDialog(HWND parent, Machine& machine)
    : DialogWindow(IDD_SCREEN, parent), machine_(machine) {
    std::string programFile = machine.ProgramFile();
    model_.programName = ProgramNameOf(machine, programFile);
    model_.title = model_.programName;
    model_.programDirectory = DirectoryOf(machine, programFile);
    model_.scriptPath =
        ScriptPathFor(machine, CommandLineArguments(GetCommandLineA()), model_.programName);
    // Before the screen's window exists: Windows stretches the windows of a
    // program that is not DPI-aware.
    model_.scale = ChooseScreenScale(machine);
    CentreAfterInit(true);
    using Messages = MessageTable<LauncherDialog, On<WM_PAINT, &LauncherDialog::OnPaint>,
                                  On<WM_PRINTCLIENT, &LauncherDialog::OnPaint>,
                                  On<WM_DRAWITEM, &LauncherDialog::OnDrawItem>,
                                  On<kLaunchNotice, &LauncherDialog::OnLaunchNotice>,
                                  On<WM_QUERYENDSESSION, &LauncherDialog::OnQueryEndSession>,
                                  On<WM_ENDSESSION, &LauncherDialog::OnEndSession>,
                                  On<kChainSession, &LauncherDialog::OnChainSession>,
                                  On<WM_DESTROY, &LauncherDialog::OnDestroy, kThenDefault>>;
    UseMessages(this, Messages());
}

LauncherDialog::~LauncherDialog() {
    workers_.WaitForAll();
    PlaySoundLocked(nullptr, 0);
    ReleaseScriptFonts();
    if (waitLibrary_) FreeLibrary(waitLibrary_);
    notice_.Destroy();
}

void LauncherDialog::ReleaseScriptFonts() {
    for (FontHandle& font : model_.fonts) {
        if (font) DeleteObject(static_cast<HFONT>(font));
        font = nullptr;
    }
    if (model_.plainFont) DeleteObject(static_cast<HFONT>(model_.plainFont));
    model_.plainFont = nullptr;
}

bool LauncherDialog::OnInitDialog() {
    SingleInstance::MarkScreen(Handle());
    model_.windowsVersion = DetectWindowsVersion(machine_);
    waitLibrary_ = LoadLibraryA(WaitLibraryName(model_.programName, model_.windowsVersion).c_str());
    if (!waitLibrary_) CloseAtOnce();
    LoadScript();
    // A program whose folder cannot be told starts in the current one: that
    // is the program's own folder, wherever the screen was started from.
    SetCurrentDirectoryA(model_.programDirectory.c_str());
    SetWindowTextA(Handle(), model_.title.c_str());
    switch (PlanStart(model_.resumed != 0, model_.autoRun != 0, closing_)) {
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
        RunOnceCommand(model_.programDirectory, model_.programName, model_.scriptPath);
    RegisterRunOnce(keys, model_.programName, command);
}

void LauncherDialog::LoadScript() {
    scriptHost_.MakePlainFont();
    ScreenScript script(model_, scriptHost_, machine_);
    script.Load(model_.scriptPath);
    scriptHost_.MakeScreenPalette();
    scriptHost_.FinishButtons();
}

void LauncherDialog::CloseAtOnce() {
    closing_ = true;
    EndDialog(Handle(), IDCANCEL);
}

bool LauncherDialog::DeleteResumeScript() {
    if (DeleteFileA(model_.scriptPath.c_str())) return true;
    ShowMessage(DeleteFailureText(GetLastError(), model_.scriptPath), model_.title,
                MB_OK | MB_ICONSTOP);
    return false;
}

void LauncherDialog::PlayIntroSound() {
    IntroSound sound = SplitIntroSound(machine_, model_.introSound);
    PlaySoundLocked(sound.file.c_str(), sound.seconds);
}

void LauncherDialog::StartHiddenChain() {
    MoveWindow(Handle(), 0, 0, 0, 0, TRUE);
    // A screen that closes right after initialisation runs no chain: the
    // worker would act on a dialog that is already going away.
    if (!closing_ && gate_.TryStart()) StartWorker(&RunChain);
}

bool LauncherDialog::StartWorker(WorkerThreads::Body body) {
    // The worker gets the screen as the interface it knows.
    if (workers_.Start(body, static_cast<ActionWorkerHost*>(this))) return true;
    gate_.CancelStart();
    return false;
}

// What the action reads is set only once the gate has let it start, so that
// a click during another action changes nothing.
void LauncherDialog::StartPushButton(ScreenItem& button) {
    if (!gate_.TryStart()) return;
    model_.currentPushButton = &button;
    if (!StartWorker(&RunPushButton)) model_.currentPushButton = nullptr;
}

void LauncherDialog::StartChain(int closeAfterChain) {
    if (!gate_.TryStart()) return;
    model_.closeAfterChain = closeAfterChain;
    StartWorker(&RunChain);
}

void LauncherDialog::FinishAction(bool screenEnded) {
    if (gate_.Finish() && !screenEnded) EndDialog(Handle(), IDCANCEL);
}

void LauncherDialog::OnCancel() {
    switch (gate_.RequestClose()) {
        case ActionGate::CloseAnswer::kCloseNow:
            EndDialog(Handle(), IDCANCEL);
            break;
        case ActionGate::CloseAnswer::kCloseWhenDone:
            // A worker still acts on this window: it goes out of sight now
            // and ends when the worker finishes. An install message stays
            // while its program runs.
            ShowWindow(Handle(), SW_HIDE);
            break;
        case ActionGate::CloseAnswer::kAlreadyAsked:
            break;
    }
}

void LauncherDialog::CheckSingleInstance(int runMultiple) {
    if (runMultiple == 0 && SingleInstance::EarlierCopyRuns(Handle())) {
        earlierCopyFound_ = true;
        model_.introSound.clear();
        closing_ = true;
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    instance_.Claim();
}

// The screen's own drawing is its background; its buttons draw themselves.
// Painted into the device context given (WM_PRINTCLIENT), or with none
// given into the window's own (WM_PAINT).
void LauncherDialog::OnPaint(HDC given) {
    PAINTSTRUCT paint;
    HDC context = given ? given : BeginPaint(Handle(), &paint);
    if (const DibBitmap* background = scriptHost_.Background()) {
        background->Draw(context, 0, 0, background->Width(), background->Height(), 0, 0, SRCCOPY,
                         FALSE);
    }
    if (!given) EndPaint(Handle(), &paint);
}

// The button class asks the screen to draw each owner-drawn button; the
// button has drawn itself (the request is reflected to it), and the focus
// button is drawn highlighted over it, so that after any repaint the focus
// button and its texts show highlighted.
void LauncherDialog::OnDrawItem(const DRAWITEMSTRUCT&) {
    if (HotButton* focused = scriptHost_.FocusedButton()) focused->DrawButton(true, true);
}

void LauncherDialog::OnLaunchNotice(const char* text, bool show) {
    // A screen that the user closed while the program starts shows no notice.
    if (show && !CloseRequested()) {
        notice_.Show(Handle(), text);
    } else {
        notice_.Destroy();
    }
}

bool LauncherDialog::OnQueryEndSession() { return restarts_.QueryEndSession(); }

void LauncherDialog::OnEndSession(bool ending) { restarts_.EndSession(ending); }

// Sent by the chain: on this thread, so that no end-session message falls
// between the chain's look at the session and what it does about it.
bool LauncherDialog::OnChainSession(ChainSessionRequest request) {
    return restarts_.ChainSession(request);
}

void LauncherDialog::OnDestroy() { SingleInstance::UnmarkScreen(Handle()); }
