#include "app/launcher_dialog.h"

LRESULT LauncherDialog::OnLaunchNotice(WPARAM wParam, LPARAM lParam) {
    // A screen that the user closed while the program starts shows no notice.
    if (static_cast<LONG>(lParam) > 0 && !CloseRequested()) {
        messageWindow_.Show(Handle(), reinterpret_cast<const char*>(wParam));
    } else {
        messageWindow_.Destroy();
    }
    return 0;
}
