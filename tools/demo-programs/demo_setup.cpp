// A stand-in installer for the demo disc: shows a small window that fills a
// progress bar over a few seconds, then exits. The buttons of the demo start
// it as the programs of its items.
//
//   DEMOSETUP.EXE [/seconds=N] [/restart] NAME...
//
// NAME (the rest of the command line) is shown as "Installing NAME". With
// /restart it asks Windows to restart the computer when the bar is full and
// stays a moment longer, as a real installer that needs a restart does.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "launch/restart_machine.h"

namespace {

const char kClass[] = "DemoSetupWindow";
constexpr UINT_PTR kTimer = 1;
constexpr int kSteps = 40;

constexpr UINT kLingerMs = 1500;

std::string g_name = "the demo";
int g_step = 0;
int g_seconds = 3;
bool g_restart = false;
bool g_restartAsked = false;

// The text after the program's own name, as the C runtime would skip it.
const char* Arguments(const char* line) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

// Skips one word and the blanks after it.
const char* NextWord(const char* text) {
    while (*text && *text != ' ') ++text;
    while (*text == ' ') ++text;
    return text;
}

void ReadArguments() {
    const char* rest = Arguments(GetCommandLineA());
    for (;;) {
        if (std::strncmp(rest, "/seconds=", 9) == 0) {
            g_seconds = std::atoi(rest + 9);
            if (g_seconds < 1 || g_seconds > 60) g_seconds = 3;
        } else if (std::strncmp(rest, "/restart", 8) == 0 && (rest[8] == ' ' || !rest[8])) {
            g_restart = true;
        } else {
            break;
        }
        rest = NextWord(rest);
    }
    if (*rest) g_name = rest;
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(context, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ font = SelectObject(context, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(context, TRANSPARENT);
    std::string text = g_restartAsked ? g_name + " asks to restart the computer."
                                      : "Installing " + g_name + "...";
    RECT line = {16, 14, client.right - 16, 34};
    DrawTextA(context, text.c_str(), -1, &line, DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(context, font);
    RECT bar = {16, 44, client.right - 16, 62};
    FrameRect(context, &bar, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    RECT done = {bar.left + 2, bar.top + 2,
                 bar.left + 2 + (bar.right - bar.left - 4) * g_step / kSteps, bar.bottom - 2};
    HBRUSH fill = CreateSolidBrush(RGB(46, 107, 196));
    FillRect(context, &done, fill);
    DeleteObject(fill);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (g_restartAsked) {
                DestroyWindow(window);
            } else if (++g_step < kSteps) {
                InvalidateRect(window, nullptr, FALSE);
            } else if (g_restart) {
                // The screen answers the restart while this installer
                // still counts as running.
                g_restartAsked = true;
                InvalidateRect(window, nullptr, FALSE);
                SetTimer(window, kTimer, kLingerMs, nullptr);
                RestartMachine(0);  // the ExitWindowsEx way, as installers do
            } else {
                DestroyWindow(window);
            }
            return 0;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTimer);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    ReadArguments();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    std::string title = g_name + " Setup";
    HWND window = CreateWindowA(kClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, 360, 110, nullptr, nullptr, instance,
                                nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    SetTimer(window, kTimer, static_cast<UINT>(g_seconds * 1000 / kSteps), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
