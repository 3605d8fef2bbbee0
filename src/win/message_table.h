#pragma once
// Message tables. A window class lists the messages it handles beside the
// member functions that handle them, in its constructor:
//
//   using Messages = MessageTable<HotButton,
//       On<WM_KEYUP, &HotButton::OnKeyUp, kThenDefault>,
//       On<WM_SETFOCUS, &HotButton::OnSetFocus>>;
//   UseMessages(this, Messages());
//
// Each message has one cracker, which writes down the signature of its
// handlers and unpacks wParam and lParam for them; a handler of another
// signature, or of another class, does not compile, nor does an entry for a
// message that the window's base class handles itself. The table is a type:
// dispatching compares the message with each entry's and calls the handler
// directly.
#include <windows.h>

#include <type_traits>

// After the handler: whether the message still goes on to the window's
// default handling, whose result then counts.
enum MessageFollowUp : unsigned char { kHandled = 1, kThenDefault = 2 };

// What dispatching through a table made of a message.
enum MessageDisposition : unsigned char {
    kNotInTable = 0,
    kDone = kHandled,
    kDoneThenDefault = kThenDefault,
    // Done, and a dialog procedure returns the result itself instead of
    // storing it as the message's result (see CrackerBase::kDirectResult).
    kDoneDirect = 3,
};

// The crackers, one per message. Each gives the handler's signature as
// Handler<Window> and calls a handler of it with Call. kDirectResult marks
// the messages whose result a dialog procedure returns itself.
template <UINT Message>
struct MessageCracker;  // a message without a cracker cannot be in a table

struct CrackerBase {
    static constexpr bool kDirectResult = false;
};

// void OnDestroy(), void OnClose()
struct NoArgumentCracker : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)();
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM) {
        (window.*Handler)();
        return 0;
    }
};
template <> struct MessageCracker<WM_DESTROY> : NoArgumentCracker {};
template <> struct MessageCracker<WM_CLOSE> : NoArgumentCracker {};

// void OnPaint(HDC given), void OnPrintClient(HDC given): the device context
// to draw into; WM_PAINT gives none, and the handler begins painting itself.
struct PaintCracker : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(HDC given);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(reinterpret_cast<HDC>(wParam));
        return 0;
    }
};
template <> struct MessageCracker<WM_PAINT> : PaintCracker {};
template <> struct MessageCracker<WM_PRINTCLIENT> : PaintCracker {};

// void OnMouseMove(UINT keys, POINTS at), and the same for the left button's
// press and release: the keys held (MK_...), the point in client coordinates.
struct MouseCracker : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(UINT keys, POINTS at);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        (window.*Handler)(static_cast<UINT>(wParam), MAKEPOINTS(lParam));
        return 0;
    }
};
template <> struct MessageCracker<WM_MOUSEMOVE> : MouseCracker {};
template <> struct MessageCracker<WM_LBUTTONDOWN> : MouseCracker {};
template <> struct MessageCracker<WM_LBUTTONUP> : MouseCracker {};

// bool OnEraseBackground(HDC context): true when the background is done with.
template <> struct MessageCracker<WM_ERASEBKGND> : CrackerBase {
    template <class Window>
    using Handler = bool (Window::*)(HDC context);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        return (window.*Handler)(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    }
};

// void OnKeyUp(UINT key): the virtual key released.
template <> struct MessageCracker<WM_KEYUP> : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(UINT key);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(static_cast<UINT>(wParam));
        return 0;
    }
};

// void OnSetFocus(HWND previous), void OnKillFocus(HWND next): the window
// that had the focus or takes it, null when none does.
struct FocusCracker : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(HWND other);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(reinterpret_cast<HWND>(wParam));
        return 0;
    }
};
template <> struct MessageCracker<WM_SETFOCUS> : FocusCracker {};
template <> struct MessageCracker<WM_KILLFOCUS> : FocusCracker {};

// UINT OnGetCheck(): BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE.
template <> struct MessageCracker<BM_GETCHECK> : CrackerBase {
    template <class Window>
    using Handler = UINT (Window::*)();
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM) {
        return (window.*Handler)();
    }
};

// LRESULT OnGetObject(WPARAM flags, LONG objectId): the object's reference
// for the accessibility layer, or 0 for the system's own description.
template <> struct MessageCracker<WM_GETOBJECT> : CrackerBase {
    template <class Window>
    using Handler = LRESULT (Window::*)(WPARAM flags, LONG objectId);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        return (window.*Handler)(wParam, static_cast<LONG>(lParam));
    }
};

// void OnDrawItem(const DRAWITEMSTRUCT& item): answered TRUE.
template <> struct MessageCracker<WM_DRAWITEM> : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(const DRAWITEMSTRUCT& item);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM lParam) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item) (window.*Handler)(*item);
        return TRUE;
    }
};

// bool OnQueryEndSession(): true lets the session end.
template <> struct MessageCracker<WM_QUERYENDSESSION> : CrackerBase {
    template <class Window>
    using Handler = bool (Window::*)();
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM) {
        return (window.*Handler)() ? TRUE : FALSE;
    }
};

// void OnEndSession(bool ending): whether the session ends.
template <> struct MessageCracker<WM_ENDSESSION> : CrackerBase {
    template <class Window>
    using Handler = void (Window::*)(bool ending);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM) {
        (window.*Handler)(wParam != 0);
        return 0;
    }
};

// HBRUSH OnControlColour(HDC context, HWND control): the brush that paints
// the background; null leaves it to the dialog manager. The same for each
// kind of control.
struct ControlColourCracker : CrackerBase {
    static constexpr bool kDirectResult = true;
    template <class Window>
    using Handler = HBRUSH (Window::*)(HDC context, HWND control);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        return reinterpret_cast<LRESULT>(
            (window.*Handler)(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    }
};
template <> struct MessageCracker<WM_CTLCOLORMSGBOX> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLOREDIT> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLORLISTBOX> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLORBTN> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLORDLG> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLORSCROLLBAR> : ControlColourCracker {};
template <> struct MessageCracker<WM_CTLCOLORSTATIC> : ControlColourCracker {};

// The other answers that a dialog procedure returns itself.
// int OnCompareItem(const COMPAREITEMSTRUCT& items): -1, 0 or 1.
template <> struct MessageCracker<WM_COMPAREITEM> : CrackerBase {
    static constexpr bool kDirectResult = true;
    template <class Window>
    using Handler = int (Window::*)(const COMPAREITEMSTRUCT& items);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM lParam) {
        return (window.*Handler)(*reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam));
    }
};
// int OnKeyToItem(UINT key, int caret, HWND list): the item to select, -1
// for the list box's own handling, -2 when done. The same for characters.
struct KeyToItemCracker : CrackerBase {
    static constexpr bool kDirectResult = true;
    template <class Window>
    using Handler = int (Window::*)(UINT key, int caret, HWND list);
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM wParam, LPARAM lParam) {
        return (window.*Handler)(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                 reinterpret_cast<HWND>(lParam));
    }
};
template <> struct MessageCracker<WM_VKEYTOITEM> : KeyToItemCracker {};
template <> struct MessageCracker<WM_CHARTOITEM> : KeyToItemCracker {};
// HICON OnQueryDragIcon(): the icon of a minimised window, or null.
template <> struct MessageCracker<WM_QUERYDRAGICON> : CrackerBase {
    static constexpr bool kDirectResult = true;
    template <class Window>
    using Handler = HICON (Window::*)();
    template <auto Handler, class Window>
    static LRESULT Call(Window& window, WPARAM, LPARAM) {
        return reinterpret_cast<LRESULT>((window.*Handler)());
    }
};

// One entry of a table: the message, its handler and what follows it.
template <UINT Message, auto Handler, MessageFollowUp FollowUp = kHandled>
struct On {
    template <class Window>
    static MessageDisposition Dispatch(Window& window, UINT message, WPARAM wParam,
                                       LPARAM lParam, LRESULT& result) {
        static_assert(!Window::HandlesFirst(Message),
                      "the window's base class handles this message itself");
        using Cracker = MessageCracker<Message>;
        static_assert(std::is_same_v<decltype(Handler), typename Cracker::template Handler<Window>>,
                      "the handler is not one of this window class with the message's signature");
        if (message != Message) return kNotInTable;
        result = Cracker::template Call<Handler>(window, wParam, lParam);
        if (Cracker::kDirectResult && FollowUp == kHandled) return kDoneDirect;
        return static_cast<MessageDisposition>(FollowUp);
    }
};

class MessageTarget;

// The table of one window class.
template <class Window, class... Entries>
struct MessageTable {
    static MessageDisposition Dispatch(MessageTarget& target, UINT message, WPARAM wParam,
                                       LPARAM lParam, LRESULT& result) {
        // The base class's pointer is this class's object: UseMessages takes
        // only a table of the class it is called for.
        auto& window = static_cast<Window&>(target);
        MessageDisposition disposition = kNotInTable;
        ((disposition = Entries::Dispatch(window, message, wParam, lParam, result)) || ...);
        return disposition;
    }
};

// The common base of the window classes: dispatches through the class's table.
class MessageTarget {
public:
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    // Whether the base class handles `message` before any table could: a
    // table entry for it would never be called. Each base class says which.
    static constexpr bool HandlesFirst(UINT) { return false; }

protected:
    MessageTarget() = default;
    ~MessageTarget() = default;

    // Called in a window class's constructor with `this`.
    template <class Window, class... Entries>
    void UseMessages(Window*, MessageTable<Window, Entries...>) {
        static_assert(std::is_base_of_v<MessageTarget, Window>);
        dispatch_ = &MessageTable<Window, Entries...>::Dispatch;
    }
    // Calls the table's handler of `message`, if any; `result` is its answer.
    MessageDisposition DispatchMessageTable(UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result) {
        return dispatch_ ? dispatch_(*this, message, wParam, lParam, result) : kNotInTable;
    }

private:
    MessageDisposition (*dispatch_)(MessageTarget&, UINT, WPARAM, LPARAM, LRESULT&) = nullptr;
};
