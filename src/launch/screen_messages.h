#pragma once
// Messages that a running action sends to the screen's window.
#include <windows.h>

// Posted around a program's start: wParam the install message (const char*,
// lives as long as the screen), lParam 1 to show it, 0 to take it away.
constexpr UINT kLaunchNotice = WM_APP;
// Sent by the chain when the restart it called for has not come; the
// screen answers 1 once it has handled it on its own thread.
constexpr UINT kRestartDidNotCome = WM_APP + 1;
