// The message log of the Win32 test programs: the messages that watched
// windows receive, in order, beside notes of the test's own (the calls a
// fake makes), compared with the sequence a case expects.
//
// An entry reads "ROLE MESSAGE[ DETAIL][ posted][ default]": ROLE is the
// name the window was watched under; DETAIL names the key of a keyboard
// message, the character of a WM_CHAR and the id and code of a WM_COMMAND;
// "posted" marks a message taken from the queue (one without it was sent);
// "default" marks a message sent while a default procedure ran, the class
// procedure below the program's subclass of a class given to
// WatchDefaultOf. Every message is logged except those of the ignore list.
// In an expected sequence, an entry that begins with "?" may be missing.
#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check.h"

namespace kit {

struct LogState {
    struct Watched {
        std::string role;
        WNDPROC next;
    };
    std::vector<std::string> entries;
    std::map<HWND, Watched> watched;
    std::map<ATOM, WNDPROC> classProcs;  // of the classes whose default procedure is watched
    // Painting, hit tests, the cursor and mouse moves say nothing of what a
    // window did.
    std::set<UINT> ignored = {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCMOUSEMOVE,
                              WM_PAINT,     WM_NCPAINT,   WM_ERASEBKGND};
    HHOOK retrievalHook = nullptr;
    MSG retrieved = {};  // the message last taken from the queue, until its window gets it
    bool retrievedPending = false;
    bool insideDefault = false;
};

inline LogState& Log() {
    static LogState state;
    return state;
}

inline std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

// The name of a virtual key, as keyboard messages carry it.
inline std::string KeyName(WPARAM key) {
    static const struct {
        WPARAM key;
        const char* name;
    } kNames[] = {{VK_RETURN, "Enter"}, {VK_SPACE, "Space"}, {VK_ESCAPE, "Escape"},
                  {VK_TAB, "Tab"},      {VK_BACK, "Back"},   {VK_SHIFT, "Shift"},
                  {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"},    {VK_LEFT, "Left"},
                  {VK_RIGHT, "Right"},  {VK_UP, "Up"},       {VK_DOWN, "Down"},
                  {VK_HOME, "Home"},    {VK_END, "End"},     {VK_DELETE, "Delete"}};
    for (const auto& named : kNames) {
        if (named.key == key) return named.name;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
    return "key " + Hex(key);
}

// The name of a character, as WM_CHAR carries it: the control characters
// that keys make share their keys' codes.
inline std::string CharacterName(WPARAM character) {
    if (character > ' ' && character < 0x7F) return std::string(1, static_cast<char>(character));
    if (character == '\r' || character == ' ' || character == 0x1B || character == '\t' ||
        character == '\b') {
        return KeyName(character);
    }
    return "character " + Hex(character);
}

inline std::string MessageName(UINT message) {
#define KIT_NAMED(message) \
    { message, #message }
    static const struct {
        UINT message;
        const char* name;
    } kNames[] = {
        KIT_NAMED(WM_CREATE),
        KIT_NAMED(WM_DESTROY),
        KIT_NAMED(WM_MOVE),
        KIT_NAMED(WM_SIZE),
        KIT_NAMED(WM_ACTIVATE),
        KIT_NAMED(WM_SETFOCUS),
        KIT_NAMED(WM_KILLFOCUS),
        KIT_NAMED(WM_ENABLE),
        KIT_NAMED(WM_SETREDRAW),
        KIT_NAMED(WM_SETTEXT),
        KIT_NAMED(WM_GETTEXT),
        KIT_NAMED(WM_GETTEXTLENGTH),
        KIT_NAMED(WM_PAINT),
        KIT_NAMED(WM_CLOSE),
        KIT_NAMED(WM_QUIT),
        KIT_NAMED(WM_ERASEBKGND),
        KIT_NAMED(WM_SHOWWINDOW),
        KIT_NAMED(WM_ACTIVATEAPP),
        KIT_NAMED(WM_SETCURSOR),
        KIT_NAMED(WM_MOUSEACTIVATE),
        KIT_NAMED(WM_CHILDACTIVATE),
        KIT_NAMED(WM_GETMINMAXINFO),
        KIT_NAMED(WM_DRAWITEM),
        KIT_NAMED(WM_SETFONT),
        KIT_NAMED(WM_GETFONT),
        KIT_NAMED(WM_WINDOWPOSCHANGING),
        KIT_NAMED(WM_WINDOWPOSCHANGED),
        KIT_NAMED(WM_NOTIFY),
        KIT_NAMED(WM_GETICON),
        KIT_NAMED(WM_NCCREATE),
        KIT_NAMED(WM_NCDESTROY),
        KIT_NAMED(WM_NCCALCSIZE),
        KIT_NAMED(WM_NCHITTEST),
        KIT_NAMED(WM_NCPAINT),
        KIT_NAMED(WM_NCACTIVATE),
        KIT_NAMED(WM_GETDLGCODE),
        KIT_NAMED(WM_NCMOUSEMOVE),
        KIT_NAMED(WM_KEYDOWN),
        KIT_NAMED(WM_KEYUP),
        KIT_NAMED(WM_CHAR),
        KIT_NAMED(WM_SYSKEYDOWN),
        KIT_NAMED(WM_SYSKEYUP),
        KIT_NAMED(WM_SYSCHAR),
        KIT_NAMED(WM_INITDIALOG),
        KIT_NAMED(WM_COMMAND),
        KIT_NAMED(WM_SYSCOMMAND),
        KIT_NAMED(WM_TIMER),
        KIT_NAMED(WM_CTLCOLORBTN),
        KIT_NAMED(WM_CTLCOLORDLG),
        KIT_NAMED(WM_CTLCOLORSTATIC),
        KIT_NAMED(WM_MOUSEMOVE),
        KIT_NAMED(WM_LBUTTONDOWN),
        KIT_NAMED(WM_LBUTTONUP),
        KIT_NAMED(WM_LBUTTONDBLCLK),
        KIT_NAMED(WM_RBUTTONDOWN),
        KIT_NAMED(WM_RBUTTONUP),
        KIT_NAMED(WM_PARENTNOTIFY),
        KIT_NAMED(WM_ENTERIDLE),
        KIT_NAMED(WM_CAPTURECHANGED),
        KIT_NAMED(WM_PRINTCLIENT),
        KIT_NAMED(WM_NEXTDLGCTL),
        KIT_NAMED(WM_IME_SETCONTEXT),
        KIT_NAMED(WM_IME_NOTIFY),
        KIT_NAMED(BM_GETCHECK),
        KIT_NAMED(BM_SETCHECK),
        KIT_NAMED(BM_GETSTATE),
        KIT_NAMED(BM_SETSTATE),
        KIT_NAMED(BM_SETSTYLE),
        KIT_NAMED(BM_CLICK),
        KIT_NAMED(DM_GETDEFID),
        KIT_NAMED(DM_SETDEFID),
        KIT_NAMED(WM_MOUSELEAVE),
        // Later systems' messages, which this build's headers leave out.
        {0x0127, "WM_CHANGEUISTATE"},
        {0x0128, "WM_UPDATEUISTATE"},
        {0x0129, "WM_QUERYUISTATE"},
        {0x02A2, "WM_NCMOUSELEAVE"},
    };
#undef KIT_NAMED
    for (const auto& named : kNames) {
        if (named.message == message) return named.name;
    }
    if (message >= WM_APP) return "WM_APP+" + std::to_string(message - WM_APP);
    if (message >= WM_USER) return "WM_USER+" + std::to_string(message - WM_USER);
    return "message " + Hex(message);
}

inline std::string Describe(const std::string& role, UINT message, WPARAM wParam, bool posted,
                            bool fromDefault) {
    std::string entry = role + " " + MessageName(message);
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            entry += " " + KeyName(wParam);
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            entry += " " + CharacterName(wParam);
            break;
        case WM_COMMAND:
            entry +=
                " id " + std::to_string(LOWORD(wParam)) + " code " + std::to_string(HIWORD(wParam));
            break;
    }
    if (posted) entry += " posted";
    if (fromDefault) entry += " default";
    return entry;
}

// Remembers each message taken from the queue, so that the window it goes
// to can tell it from a sent one.
inline LRESULT CALLBACK NoteRetrieval(int code, WPARAM removal, LPARAM message) {
    LogState& log = Log();
    if (code == HC_ACTION && removal == PM_REMOVE) {
        log.retrieved = *reinterpret_cast<const MSG*>(message);
        log.retrievedPending = true;
    }
    return CallNextHookEx(log.retrievalHook, code, removal, message);
}

inline LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LogState& log = Log();
    LogState::Watched watched = log.watched[window];
    const MSG& last = log.retrieved;
    bool posted = log.retrievedPending && last.hwnd == window && last.message == message &&
                  last.wParam == wParam && last.lParam == lParam;
    if (posted) log.retrievedPending = false;
    if (!log.ignored.count(message)) {
        log.entries.push_back(Describe(watched.role, message, wParam, posted, log.insideDefault));
    }
    bool outerDefault = log.insideDefault;
    log.insideDefault = false;
    LRESULT result = CallWindowProcA(watched.next, window, message, wParam, lParam);
    log.insideDefault = outerDefault;
    if (message == WM_NCDESTROY) log.watched.erase(window);
    return result;
}

inline LRESULT CALLBACK DefaultLoggingProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    LogState& log = Log();
    WNDPROC classProc = log.classProcs[static_cast<ATOM>(GetClassLongA(window, GCW_ATOM))];
    bool outerDefault = log.insideDefault;
    log.insideDefault = true;
    LRESULT result = CallWindowProcA(classProc, window, message, wParam, lParam);
    log.insideDefault = outerDefault;
    return result;
}

// Leaves these messages out of the log from now on.
inline void Ignore(std::initializer_list<UINT> messages) {
    Log().ignored.insert(messages.begin(), messages.end());
}

// Logs the messages that a window receives from now on, as ROLE: its
// procedure is subclassed, above the program's own.
inline void Watch(HWND window, const std::string& role) {
    LogState& log = Log();
    if (!log.retrievalHook) {
        log.retrievalHook =
            SetWindowsHookExA(WH_GETMESSAGE, &NoteRetrieval, nullptr, GetCurrentThreadId());
    }
    LONG_PTR next =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LoggingProc));
    log.watched[window] = {role, reinterpret_cast<WNDPROC>(next)};
}

// Marks the messages that the class procedure of CLASS_NAME sends as
// "default", for the windows of that class made from now on in this process.
inline bool WatchDefaultOf(const char* className) {
    HWND sample = CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!sample) return false;
    auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(sample, GCLP_WNDPROC));
    Log().classProcs[static_cast<ATOM>(GetClassLongA(sample, GCW_ATOM))] = classProc;
    SetClassLongPtrA(sample, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefaultLoggingProc));
    DestroyWindow(sample);
    return true;
}

// The role a window is watched under.
inline std::string RoleOf(HWND window) {
    auto found = Log().watched.find(window);
    return found == Log().watched.end() ? "an unwatched window" : found->second.role;
}

// An entry of the test's own, in sequence with the messages.
inline void Note(const std::string& entry) { Log().entries.push_back(entry); }

inline void ClearLog() { Log().entries.clear(); }

inline std::vector<std::string> SplitEntries(const std::string& list) {
    std::vector<std::string> entries;
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t end = list.find(", ", at);
        if (end == std::string::npos) end = list.size();
        entries.push_back(list.substr(at, end - at));
        at = end + 2;
    }
    return entries;
}

// Compares the log with EXPECTED (entries parted by ", "), shows both side
// by side when they differ, and clears the log.
inline bool VerdictLog(const std::string& expected, const std::string& what, const char* file,
                       int line) {
    std::vector<std::string> wanted = SplitEntries(expected);
    std::vector<std::string>& logged = Log().entries;
    std::size_t next = 0;
    bool good = true;
    for (const std::string& entry : wanted) {
        bool optional = entry[0] == '?';
        if (next < logged.size() && logged[next] == entry.substr(optional ? 1 : 0)) {
            ++next;
        } else if (!optional) {
            good = false;
        }
    }
    good = Verdict(good && next == logged.size(), file, line, what);
    if (!good) {
        std::printf("    %-44s %s\n", "expected", "logged");
        for (std::size_t i = 0; i < wanted.size() || i < logged.size(); ++i) {
            std::printf("    %-44s %s\n", i < wanted.size() ? wanted[i].c_str() : "",
                        i < logged.size() ? logged[i].c_str() : "");
        }
    }
    logged.clear();
    return good;
}

}  // namespace kit

#define CHECK_LOG(expected, what) ::kit::VerdictLog((expected), (what), __FILE__, __LINE__)
