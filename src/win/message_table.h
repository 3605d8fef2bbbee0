#pragma once
// Message tables: each window class lists the messages it handles beside the
// member function that handles them. A handler gets the raw parameters and
// unpacks them itself; its comment in the table says how.
#include <windows.h>

#include <cstddef>

template <class Window>
struct MessageEntry {
    UINT message;
    LRESULT (Window::*handler)(WPARAM wParam, LPARAM lParam);
};

// Calls the handler of `message` when the table has one.
template <class Window, std::size_t N>
bool DispatchMessageTable(const MessageEntry<Window> (&table)[N], Window* window, UINT message,
                          WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const MessageEntry<Window>& entry : table) {
        if (entry.message == message) {
            *result = (window->*entry.handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}
