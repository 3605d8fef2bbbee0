#include "launch/action_workers_win.h"

#include "launch/action_worker_host_win.h"
#include "launch/screen_actions_win.h"

DWORD WINAPI RunChain(void* argument) {
    auto& screen = *static_cast<ActionWorkerHost*>(argument);
    ScreenActions actions(screen);
    RunChainSteps(screen.Model(), actions);
    screen.FinishAction(actions.ScreenEnded());
    return 0;
}

DWORD WINAPI RunPushButton(void* argument) {
    auto& screen = *static_cast<ActionWorkerHost*>(argument);
    ScreenActions actions(screen);
    RunPushButtonSteps(screen.Model(), actions);
    screen.FinishAction(actions.ScreenEnded());
    return 0;
}
