#pragma once
// Messages that a running action sends to the screen's window.
#include <windows.h>

// Posted around a program's start: wParam the install message (const char*,
// lives as long as the screen), lParam 1 to show it, 0 to take it away.
constexpr UINT kLaunchNotice = WM_APP;
// Sent by the chain to the screen's thread, where the end-session messages
// are handled: wParam one of ChainSessionRequest; the screen answers 1
// while the chain must hold.
constexpr UINT kChainSession = WM_APP + 1;
enum ChainSessionRequest : WPARAM {
    kChainHolding,          // must the chain still hold?
    kChainRestartCalled,    // the chain calls for its own restart now
    kChainRestartGraceOver,  // the grace of that call is over
};
