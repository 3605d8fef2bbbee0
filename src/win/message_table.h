#pragma once
// Message tables: each window class lists the messages it handles beside the
// member function that handles them. A handler gets the raw parameters and
// unpacks them itself; its comment in the table says how.
#include <windows.h>

#include <cstddef>

// After the handler: whether the message still goes on to the window's
// default handling, whose result then counts.
enum MessageFollowUp { kHandled = 0, kThenDefault = 1 };

template <class Window>
struct MessageEntry {
    UINT message;
    LRESULT (Window::*handler)(WPARAM wParam, LPARAM lParam);
    MessageFollowUp followUp = kHandled;
};

// Calls the handler of `message` when the table has one. True when the
// message is done with; false lets the default handling run as well.
template <class Window, std::size_t N>
bool DispatchMessageTable(const MessageEntry<Window> (&table)[N], Window* window, UINT message,
                          WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const MessageEntry<Window>& entry : table) {
        if (entry.message == message) {
            *result = (window->*entry.handler)(wParam, lParam);
            return entry.followUp == kHandled;
        }
    }
    return false;
}
