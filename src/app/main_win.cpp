#include <windows.h>

#include "app/launcher_app.h"
#include "win/machine_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static WinMachine machine;
    LauncherApp app(machine);
    app.Start();
    return 0;
}
