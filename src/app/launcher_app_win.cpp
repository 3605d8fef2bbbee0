#include "app/launcher_app.h"

#include <windows.h>

#include "app/launcher_dialog.h"
#include "app/startup.h"
#include "script/system_facts.h"

namespace {
const char kSettingsKey[] = "SOFTWARE\\Velqor\\Settings";
const char kSupportDirectoryValue[] = "SUPPORTDIR";
}  // namespace

LauncherApp& TheApp() {
    static LauncherApp app;
    return app;
}

bool LauncherApp::Start() {
    std::string supportDirectory;
    if (ReadMachineSetting(kSettingsKey, kSupportDirectoryValue, &supportDirectory) &&
        FileExists(StopMarkerPath(supportDirectory))) {
        return false;
    }
    char savedDirectory[MAX_PATH * 2] = {};
    DWORD length = GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
    if (length >= sizeof savedDirectory) savedDirectory[0] = '\0';

    std::string programName;
    {
        LauncherDialog dialog(nullptr);
        programName = dialog.Screen().programName;
        dialog.RunModal();
        if (savedDirectory[0]) SetCurrentDirectoryA(savedDirectory);
        if (activateEarlierInstance_) ActivateEarlierInstance(programName.c_str());
    }
    return false;
}

void LauncherApp::ActivateEarlierInstance(const char* programName) {
    HWND earlier = FindWindowA("#32770", programName);
    if (!earlier) return;
    HWND popup = GetLastActivePopup(earlier);
    SetForegroundWindow(earlier);
    if (IsIconic(earlier)) ShowWindow(earlier, SW_RESTORE);
    if (popup && popup != earlier) SetForegroundWindow(popup);
}
