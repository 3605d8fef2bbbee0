#include "launch/run_chain.h"

#include "app/launcher_dialog.h"

// Programs are not started yet: a chain hides the screen and then ends it or
// shows it again exactly as it will after its last member.
DWORD WINAPI RunChain(void* argument) {
    auto& dialog = *static_cast<LauncherDialog*>(argument);
    ScreenModel& screen = dialog.Screen();
    bool close = screen.closeAfterChain.load() || screen.resumed;
    screen.finalRestart = 0;
    ShowWindow(dialog.Handle(), SW_HIDE);
    screen.runningIndex = -1;
    if (close) {
        ShowWindow(dialog.Handle(), SW_SHOWMINIMIZED);
        EndDialog(dialog.Handle(), 1);
    } else {
        ShowWindow(dialog.Handle(), SW_SHOW);
    }
    return 0;
}

DWORD WINAPI RunPushButton(void* argument) {
    auto& dialog = *static_cast<LauncherDialog*>(argument);
    dialog.Screen().currentPushButton = nullptr;
    return 0;
}
