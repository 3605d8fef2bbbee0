#pragma once
// Message tables. A window class lists the messages it handles beside the
// member functions that handle them, each in its own typed signature:
//
//   {WM_KEYUP, Crack<&HotButton::OnKeyUp>, kThenDefault},  // void OnKeyUp(UINT key)
//
// Crack picks the adaptor for the handler's signature, which unpacks wParam
// and lParam. The window base classes dispatch through the table; a class
// hands its table to the base with UseMessages in its constructor.
#include <windows.h>

#include <cstddef>

// After the handler: whether the message still goes on to the window's
// default handling, whose result then counts.
enum MessageFollowUp { kHandled = 0, kThenDefault = 1 };

class MessageTarget;

struct MessageEntry {
    UINT message;
    LRESULT (*call)(MessageTarget& window, WPARAM wParam, LPARAM lParam);
    MessageFollowUp followUp;
};

// The common base of the window classes: holds the class's table.
class MessageTarget {
public:
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

protected:
    MessageTarget() = default;
    ~MessageTarget() = default;

    template <std::size_t N>
    void UseMessages(const MessageEntry (&table)[N]) {
        messages_ = table;
        count_ = N;
    }
    // Calls the handler of `message` when the table has one. True when the
    // message is done with; false lets the default handling run as well.
    bool DispatchMessageTable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    const MessageEntry* messages_ = nullptr;
    std::size_t count_ = 0;
};

// The adaptors, one per handler signature that the program uses. The
// handler is a template argument, so that the compiler calls it directly.
template <class Signature, Signature Handler>
struct MessageAdaptor;

template <class Window, void (Window::*Handler)()>
struct MessageAdaptor<void (Window::*)(), Handler> {
    static LRESULT Call(Window& window, WPARAM, LPARAM) {
        (window.*Handler)();
        return 0;
    }
};
// The answer as TRUE or FALSE (WM_ERASEBKGND, WM_QUERYENDSESSION, ...).
template <class Window, bool (Window::*Handler)()>
struct MessageAdaptor<bool (Window::*)(), Handler> {
    static LRESULT Call(Window& window, WPARAM, LPARAM) { return (window.*Handler)() ? TRUE : FALSE; }
};
// A request in wParam, answered TRUE or FALSE.
template <class Window, bool (Window::*Handler)(UINT)>
struct MessageAdaptor<bool (Window::*)(UINT), Handler> {
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        return (window.*Handler)(static_cast<UINT>(wParam)) ? TRUE : FALSE;
    }
};
// A key or a flag in wParam (WM_KEYUP, WM_ENDSESSION).
template <class Window, void (Window::*Handler)(UINT)>
struct MessageAdaptor<void (Window::*)(UINT), Handler> {
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(static_cast<UINT>(wParam));
        return 0;
    }
};
// A device context in wParam: WM_PRINTCLIENT's to draw into, and none
// with WM_PAINT.
template <class Window, void (Window::*Handler)(HDC)>
struct MessageAdaptor<void (Window::*)(HDC), Handler> {
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(reinterpret_cast<HDC>(wParam));
        return 0;
    }
};
// The message's own parameters and answer (WM_GETOBJECT).
template <class Window, LRESULT (Window::*Handler)(WPARAM, LPARAM)>
struct MessageAdaptor<LRESULT (Window::*)(WPARAM, LPARAM), Handler> {
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        return (window.*Handler)(wParam, lParam);
    }
};

// WM_DRAWITEM: the request in lParam; a window that draws answers TRUE.
template <class Window, void (Window::*Handler)(const DRAWITEMSTRUCT&)>
struct MessageAdaptor<void (Window::*)(const DRAWITEMSTRUCT&), Handler> {
    static LRESULT Call(Window& window, WPARAM, LPARAM lParam) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item) (window.*Handler)(*item);
        return TRUE;
    }
};
// A text in wParam and whether to show it (lParam above 0).
template <class Window, void (Window::*Handler)(const char*, bool)>
struct MessageAdaptor<void (Window::*)(const char*, bool), Handler> {
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        (window.*Handler)(reinterpret_cast<const char*>(wParam), static_cast<LONG>(lParam) > 0);
        return 0;
    }
};

template <class Handler>
struct MessageWindowOf;
template <class Window, class Result, class... Arguments>
struct MessageWindowOf<Result (Window::*)(Arguments...)> {
    using Type = Window;
};

template <auto Handler>
LRESULT Crack(MessageTarget& target, WPARAM wParam, LPARAM lParam) {
    using Window = typename MessageWindowOf<decltype(Handler)>::Type;
    return MessageAdaptor<decltype(Handler), Handler>::Call(static_cast<Window&>(target), wParam,
                                                            lParam);
}
