#pragma once
// The main screen: a modal dialog built from the screen script. It owns all
// state that the rest of the program shares for the whole run, is the host
// of its hot buttons and of the actions they start, and forwards the
// end-session messages to its restart trap.
#include <windows.h>

#include "app/dialog_script_host_win.h"
#include "app/single_instance_win.h"
#include "launch/action_gate.h"
#include "launch/action_worker_host_win.h"
#include "launch/restart_trap_win.h"
#include "launch/screen_messages_win.h"
#include "script/screen_model.h"
#include "ui/button_host_win.h"
#include "ui/launch_notice_win.h"
#include "win/dialog_window.h"
#include "win/worker_threads.h"

class LauncherDialog : public DialogWindow, public ButtonHost, public ActionWorkerHost {
public:
    LauncherDialog(HWND parent, Machine& machine);
    ~LauncherDialog();

    // Called once the whole script has been read: a second copy of the
    // program closes at once, and afterwards brings the first to the front.
    void CheckSingleInstance(int runMultiple);
    bool EarlierCopyFound() const { return earlierCopyFound_; }

    // The owner of the hot buttons.
    HWND ScreenWindow() const override { return Handle(); }
    const DibBitmap* Background() const override { return scriptHost_.Background(); }
    void SetFocusButton(HotButton* button) override { scriptHost_.SetFocusedButton(button); }
    void StartPushButton(ScreenItem& button) override;
    void StartChain(int closeAfterChain) override;

    // The owner of the running action.
    ScreenModel& Model() override { return model_; }
    Machine& HostMachine() override { return machine_; }
    HMODULE WaitLibrary() const override { return waitLibrary_; }
    bool CloseRequested() const override { return gate_.CloseRequested(); }
    RestartTrap& Restarts() override { return restarts_; }
    void FinishAction(bool screenEnded) override;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}  // Enter never closes the screen
    void OnCancel() override;

private:
    void OnPaint(HDC given);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnLaunchNotice(const char* text, bool show);
    bool OnQueryEndSession();
    void OnEndSession(bool ending);
    bool OnChainSession(ChainSessionRequest request);
    void OnDestroy();

    void LoadScript();
    void PlayIntroSound();
    // Starts the worker of an action that the gate has let start.
    bool StartWorker(WorkerThreads::Body body);
    void StartHiddenChain();
    void CloseAtOnce();
    bool DeleteResumeScript();
    void KeepResumeScript();
    void ReleaseScriptFonts();

    Machine& machine_;
    ScreenModel model_;
    DialogScriptHost scriptHost_{*this, model_, machine_};  // after the model: gone before it
    HMODULE waitLibrary_ = nullptr;
    SingleInstance instance_;
    bool earlierCopyFound_ = false;
    bool closing_ = false;  // the screen ends right after initialisation
    ActionGate gate_;
    LaunchNotice notice_;
    WorkerThreads workers_;  // waited for in the destructor, before anything goes
    RestartTrap restarts_{model_, workers_, machine_};
};
