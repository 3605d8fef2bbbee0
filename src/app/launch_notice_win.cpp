#include "app/launcher_dialog.h"

LRESULT LauncherDialog::OnLaunchNotice(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) > 0) {
        messageWindow_.Show(Handle(), reinterpret_cast<const char*>(wParam));
    } else {
        messageWindow_.Destroy();
    }
    return 0;
}
