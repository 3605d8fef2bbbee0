#pragma once
// What a running action needs from the screen it was started on. The main
// screen implements it; the worker bodies get it as their argument.
#include <windows.h>

#include "script/screen_model.h"

class Machine;
class RestartTrap;

class ActionWorkerHost {
public:
    // The screen's window: shown, hidden, ended and sent notices by the action.
    virtual HWND ScreenWindow() const = 0;
    virtual ScreenModel& Model() = 0;
    // The machine the program runs on.
    virtual Machine& HostMachine() = 0;
    // The wait library that the screen loaded for this Windows version.
    virtual HMODULE WaitLibrary() const = 0;
    // The user closed the screen while the action ran.
    virtual bool CloseRequested() const = 0;
    virtual RestartTrap& Restarts() = 0;
    // The action's last call: screenEnded when the action ended the screen
    // itself.
    virtual void FinishAction(bool screenEnded) = 0;

protected:
    ~ActionWorkerHost() = default;
};
