#pragma once
// The main screen: a modal dialog built from the screen script. It owns all
// state that the rest of the program shares for the whole run.
#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "app/pending_resume.h"
#include "script/screen_model.h"
#include "ui/message_window.h"
#include "win/dialog_window.h"
#include "win/message_table.h"
#include "win/worker_threads.h"

class DibBitmap;
class HotButton;

constexpr UINT kLaunchNotice = WM_APP;  // wParam text, lParam 1 show / 0 remove
constexpr UINT kRestartDidNotCome = WM_APP + 1;  // sent by the chain

class LauncherDialog : public DialogWindow {
public:
    explicit LauncherDialog(HWND parent);
    ~LauncherDialog() override;

    void CheckSingleInstance(int runMultiple);

    ScreenModel& Screen() { return screen_; }
    HMODULE WaitLibrary() const { return waitLibrary_; }
    DibBitmap* Background() const { return background_.get(); }
    HotButton* ButtonWindowOf(int slot) const { return IsSlot(slot) ? hotButtons_[slot].get() : nullptr; }
    HotButton* FocusButton() const { return focusButton_; }
    void SetFocusButton(HotButton* button) { focusButton_ = button; }
    // Starts a worker thread that the screen waits for before it is destroyed.
    // The screen runs one button action at a time: while one runs, no other
    // starts (false).
    bool StartWorker(WorkerThreads::Body body);
    // A click on a push button or an OK button: starts its worker unless an
    // action runs already; the button's state is set only when it starts.
    bool StartPushButton(ScreenItem& button);
    bool StartChain(int closeAfterChain);
    // A worker's last call. When the user closed the screen while the action
    // ran, the screen ends now, unless the worker has ended it already.
    void FinishAction(bool screenEnded);
    // The user closed the screen while an action runs; it ends with the action.
    bool CloseRequested() const { return action_.load() == kActionCloseRequested; }
    // The restart prompt thread of a trapped or allowed restart, or null.
    // Every prompt handle stays valid until the screen is destroyed, so it
    // may be waited on after the prompt has ended and cleared this field.
    std::atomic<HANDLE>& RestartPromptThread() { return restartPromptThread_; }
    // Starts a prompt thread and remembers it as the restart prompt thread.
    HANDLE StartRestartPrompt(WorkerThreads::Body body, void* argument);
    PendingResume& PendingResumeScript() { return pendingResume_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}  // Enter never closes the screen
    void OnCancel() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend class DialogScreenHost;

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM, LPARAM);
    LRESULT OnRestartDidNotCome(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnLaunchNotice(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    bool AnotherScreenIsOpen();
    static const MessageEntry<LauncherDialog> kMessages[];

    void LoadScript();
    void MakeScreenPalette();
    void PlayIntroSound();
    void StartHiddenChain();
    void CloseAtOnce();
    bool DeleteResumeScript();
    void KeepResumeScript();

    ScreenModel screen_;
    std::unique_ptr<DibBitmap> background_;
    std::array<std::unique_ptr<DibBitmap>, kSlotCount> bitmapCache_;
    std::array<std::unique_ptr<HotButton>, kSlotCount> hotButtons_;
    // The one palette of all pictures, which every picture realizes.
    HPALETTE screenPalette_ = nullptr;
    HotButton* focusButton_ = nullptr;
    HMODULE waitLibrary_ = nullptr;
    ATOM instanceAtom_ = 0;
    std::atomic<HANDLE> restartPromptThread_{nullptr};
    PendingResume pendingResume_;
    bool closing_ = false;  // the screen ends right after initialisation
    enum { kActionIdle = 0, kActionRunning = 1, kActionCloseRequested = 2 };
    std::atomic<int> action_{kActionIdle};
    MessageWindow messageWindow_;
    WorkerThreads workers_;  // declared last: destroyed (waited for) first
};
