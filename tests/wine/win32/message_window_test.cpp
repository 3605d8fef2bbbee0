// The message window on a real screen: the notice's text block measured,
// centred in the box, drawn where it was placed; one box at a time.
// Prints "ok WHAT" or "FAIL WHAT" a line; exits 1 when anything failed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "resource.h"
#include "ui/message_window.h"

namespace {
int failures = 0;

void Check(bool good, const std::string& what) {
    std::printf("%s %s\n", good ? "ok" : "FAIL", what.c_str());
    if (!good) ++failures;
}

void CheckEq(long got, long expected, const std::string& what) {
    Check(got == expected, what + " (got " + std::to_string(got) + ", expected " +
                               std::to_string(expected) + ")");
}

void Pump(int milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

// The label's rectangle in the box's client coordinates.
RECT LabelRect(HWND box, HWND label) {
    RECT rect;
    GetWindowRect(label, &rect);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE Extent(HWND window, const char* text) {
    SIZE size = {0, 0};
    HDC context = GetDC(window);
    GetTextExtentPoint32A(context, text, static_cast<int>(std::strlen(text)), &size);
    ReleaseDC(window, context);
    return size;
}

struct BoxCount {
    HWND owner;
    int boxes;
};

BOOL CALLBACK CountBox(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<BoxCount*>(data);
    if (GetWindow(window, GW_OWNER) == count->owner && IsWindowVisible(window)) ++count->boxes;
    return TRUE;
}

int CountBoxes(HWND owner) {
    BoxCount count = {owner, 0};
    EnumThreadWindows(GetCurrentThreadId(), &CountBox, reinterpret_cast<LPARAM>(&count));
    return count.boxes;
}

// Bounding box of the dark (text) pixels in the box's client area.
bool InkBounds(HWND box, RECT* ink) {
    RECT client;
    GetClientRect(box, &client);
    HDC context = GetDC(box);
    bool any = false;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            COLORREF c = GetPixel(context, x, y);
            if (c == CLR_INVALID || GetRValue(c) + GetGValue(c) + GetBValue(c) > 200) continue;
            if (!any) {
                *ink = {x, y, x + 1, y + 1};
                any = true;
            }
            if (x < ink->left) ink->left = x;
            if (y < ink->top) ink->top = y;
            if (x + 1 > ink->right) ink->right = x + 1;
            if (y + 1 > ink->bottom) ink->bottom = y + 1;
        }
    }
    ReleaseDC(box, context);
    return any;
}

// Shows a notice and checks its block against the estimate from the
// measured run: lines x line height, average width x longest line.
void CheckNotice(MessageWindow& notice, HWND owner, const char* text, int lines, int longest,
                 const std::string& what) {
    notice.Show(owner, text);
    HWND box = notice.Handle();
    Check(box && IsWindowVisible(box), what + ": the box is shown");
    if (!box) return;
    HWND label = GetDlgItem(box, IDC_MESSAGE_TEXT);
    Check(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)) ==
              GetStockObject(DEFAULT_GUI_FONT),
          what + ": the label uses the default GUI font");
    char shown[512] = {};
    GetWindowTextA(label, shown, sizeof shown);
    Check(std::strcmp(shown, text) == 0, what + ": the label holds the text");

    SIZE extent = Extent(label, text);
    long average = extent.cx / static_cast<long>(std::strlen(text));
    RECT rect = LabelRect(box, label);
    CheckEq(rect.right - rect.left, average * longest, what + ": block width");
    CheckEq(rect.bottom - rect.top, extent.cy * lines, what + ": block height");

    RECT outer;
    GetWindowRect(box, &outer);
    CheckEq(rect.left, (outer.right - outer.left - (rect.right - rect.left) + 1) / 2,
            what + ": centred across");
    CheckEq(rect.top, (outer.bottom - outer.top - (rect.bottom - rect.top) + 1) / 2,
            what + ": centred down");

    Pump(400);
    RECT ink;
    bool drawn = InkBounds(box, &ink);
    Check(drawn, what + ": text is drawn");
    if (drawn) {
        Check(ink.left >= rect.left && ink.right <= rect.right && ink.top >= rect.top &&
                  ink.bottom <= rect.bottom,
              what + ": the text lies inside the block");
        RECT client;
        GetClientRect(box, &client);
        long leftMargin = ink.left, rightMargin = client.right - ink.right;
        // The estimate is an average; allow a few characters either way.
        Check(leftMargin > client.right / 8 && rightMargin > client.right / 8,
              what + ": the text stands in the middle of the box (margins " +
                  std::to_string(leftMargin) + ", " + std::to_string(rightMargin) + ")");
        std::printf("info %s: box %ldx%ld, block %ld,%ld %ldx%ld, ink %ld,%ld-%ld,%ld\n",
                    what.c_str(), client.right, client.bottom, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, ink.left, ink.top, ink.right,
                    ink.bottom);
    }
}
}  // namespace

int main() {
    HWND owner = CreateWindowExA(0, "STATIC", "notice owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Check(owner != nullptr, "an owner window");
    MessageWindow notice;
    Check(notice.Handle() == nullptr, "no box before the first notice");
    notice.Destroy();
    Check(notice.Handle() == nullptr, "removing when there is no box is harmless");

    CheckNotice(notice, owner, "Installing", 1, 10, "one line");
    HWND first = notice.Handle();
    CheckNotice(notice, owner, "Setting up the drivers\r\nPlease wait", 2, 22, "two lines");
    Check(first && !IsWindow(first), "a second notice replaces the first box");
    CheckEq(CountBoxes(owner), 1, "one box at a time");

    // A notice too long for the label is cut to the label's size.
    std::string longText;
    for (int i = 0; i < 60; ++i) longText += "Lorem ipsum ";
    notice.Show(owner, longText.c_str());
    HWND label = GetDlgItem(notice.Handle(), IDC_MESSAGE_TEXT);
    RECT rect = LabelRect(notice.Handle(), label);
    // The label's template size in pixels, plus the one pixel the limit adds.
    RECT units = {20, 12, 180, 38};
    MapDialogRect(notice.Handle(), &units);
    CheckEq(rect.right - rect.left, units.right - units.left + 1, "a long notice: width limited");
    CheckEq(rect.bottom - rect.top, units.bottom - units.top + 1, "a long notice: height limited");

    CheckEq(MessageWindow::MeasureTextBlock(label, "", 100, 100).width, 0, "empty text measures 0");
    CheckEq(MessageWindow::MeasureTextBlock(label, nullptr, 100, 100).height, 0,
            "no text measures 0");
    CheckEq(MessageWindow::MeasureTextBlock(label, "abc", 0, 100).height, 0,
            "no room measures 0");

    HWND last = notice.Handle();
    notice.Destroy();
    Check(!IsWindow(last) && notice.Handle() == nullptr, "removing destroys the box");
    CheckEq(CountBoxes(owner), 0, "no box after removing");
    DestroyWindow(owner);
    return failures ? 1 : 0;
}
