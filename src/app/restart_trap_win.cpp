#include "app/launcher_dialog.h"

// Restarts are not trapped yet: every end-session query passes.
LRESULT LauncherDialog::OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
