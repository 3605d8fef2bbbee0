#include "app/launcher_app.h"

#include <windows.h>

#include "app/launcher_dialog_win.h"
#include "app/single_instance_win.h"
#include "app/stop_marker.h"
#include "script/machine_settings.h"
#include "script/program_paths.h"

namespace {
const char kSettingsKey[] = "SOFTWARE\\Velqor\\Settings";
const char kSupportDirectoryValue[] = "SUPPORTDIR";
}  // namespace

void LauncherApp::Start() {
    std::string supportDirectory;
    if (ReadMachineSetting(machine_, kSettingsKey, kSupportDirectoryValue, &supportDirectory) &&
        FileExists(machine_, StopMarkerPath(supportDirectory))) {
        return;
    }
    char savedDirectory[MAX_PATH * 2] = {};
    DWORD length = GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
    if (length >= sizeof savedDirectory) savedDirectory[0] = '\0';

    LauncherDialog dialog(nullptr, machine_);
    dialog.RunModal();
    if (savedDirectory[0]) SetCurrentDirectoryA(savedDirectory);
    if (dialog.EarlierCopyFound())
        SingleInstance::BringEarlierCopyToFront(dialog.Model().programName);
}
