#pragma once
// Messages that a running action sends to the screen's window, with their
// crackers for the screen's message table.
#include <windows.h>

#include "win/message_table.h"

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

// void OnLaunchNotice(const char* text, bool show)
template <> struct MessageCracker<kLaunchNotice> : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(const char* text, bool show);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        (window.*Handler)(reinterpret_cast<const char*>(wParam), static_cast<LONG>(lParam) > 0);
        return 0;
    }
};

// bool OnChainSession(ChainSessionRequest request): true while the chain must hold.
template <> struct MessageCracker<kChainSession> : CrackerBase {
    template <class Window>
    using Handler = bool (Window::*)(ChainSessionRequest request);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        return (window.*Handler)(static_cast<ChainSessionRequest>(wParam)) ? TRUE : FALSE;
    }
};
