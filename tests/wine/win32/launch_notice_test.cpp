// The launch notice on a real screen: the notice's text block measured,
// centred in the box, drawn where it was placed; one box at a time.
#include "ui/launch_notice_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "kit/check.h"
#include "kit/waiting_win.h"
#include "resource.h"

namespace {
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
void CheckNotice(LaunchNotice& notice, HWND owner, const char* text, int lines, int longest,
                 const std::string& what) {
    notice.Show(owner, text);
    HWND box = notice.Handle();
    CHECK(box && IsWindowVisible(box), what + ": the box is shown");
    if (!box) return;
    HWND label = GetDlgItem(box, IDC_MESSAGE_TEXT);
    CHECK(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)) ==
              GetStockObject(DEFAULT_GUI_FONT),
          what + ": the label uses the default GUI font");
    char shown[512] = {};
    GetWindowTextA(label, shown, sizeof shown);
    CHECK(std::strcmp(shown, text) == 0, what + ": the label holds the text");

    SIZE extent = Extent(label, text);
    long average = extent.cx / static_cast<long>(std::strlen(text));
    RECT rect = LabelRect(box, label);
    CHECK_EQ(rect.right - rect.left, average * longest, what + ": block width");
    CHECK_EQ(rect.bottom - rect.top, extent.cy * lines, what + ": block height");

    RECT outer;
    GetWindowRect(box, &outer);
    CHECK_EQ(rect.left, (outer.right - outer.left - (rect.right - rect.left) + 1) / 2,
             what + ": centred across");
    CHECK_EQ(rect.top, (outer.bottom - outer.top - (rect.bottom - rect.top) + 1) / 2,
             what + ": centred down");

    RECT ink;
    bool drawn = kit::WaitUntil([&] { return InkBounds(box, &ink); });
    CHECK(drawn, what + ": text is drawn");
    if (drawn) {
        CHECK(ink.left >= rect.left && ink.right <= rect.right && ink.top >= rect.top &&
                  ink.bottom <= rect.bottom,
              what + ": the text lies inside the block");
        RECT client;
        GetClientRect(box, &client);
        long leftMargin = ink.left, rightMargin = client.right - ink.right;
        // The estimate is an average; allow a few characters either way.
        CHECK(leftMargin > client.right / 8 && rightMargin > client.right / 8,
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
    CHECK(owner != nullptr, "an owner window");
    LaunchNotice notice;
    CHECK(notice.Handle() == nullptr, "no box before the first notice");
    notice.Destroy();
    CHECK(notice.Handle() == nullptr, "removing when there is no box is harmless");

    CheckNotice(notice, owner, "Installing", 1, 10, "one line");
    HWND first = notice.Handle();
    CheckNotice(notice, owner, "Setting up the drivers\r\nPlease wait", 2, 22, "two lines");
    CHECK(first && !IsWindow(first), "a second notice replaces the first box");
    CHECK_EQ(CountBoxes(owner), 1, "one box at a time");

    // A notice too long for the label is cut to the label's size.
    std::string longText;
    for (int i = 0; i < 60; ++i) longText += "Lorem ipsum ";
    notice.Show(owner, longText.c_str());
    HWND label = GetDlgItem(notice.Handle(), IDC_MESSAGE_TEXT);
    RECT rect = LabelRect(notice.Handle(), label);
    // The label's template size in pixels, plus the one pixel the limit adds.
    RECT units = {20, 12, 180, 38};
    MapDialogRect(notice.Handle(), &units);
    CHECK_EQ(rect.right - rect.left, units.right - units.left + 1, "a long notice: width limited");
    CHECK_EQ(rect.bottom - rect.top, units.bottom - units.top + 1, "a long notice: height limited");

    CHECK_EQ(LaunchNotice::MeasureTextBlock(label, "", 100, 100).width, 0,
             "empty text measures 0");
    CHECK_EQ(LaunchNotice::MeasureTextBlock(label, nullptr, 100, 100).height, 0,
             "no text measures 0");
    CHECK_EQ(LaunchNotice::MeasureTextBlock(label, "abc", 0, 100).height, 0, "no room measures 0");

    HWND last = notice.Handle();
    notice.Destroy();
    CHECK(!IsWindow(last) && notice.Handle() == nullptr, "removing destroys the box");
    CHECK_EQ(CountBoxes(owner), 0, "no box after removing");
    DestroyWindow(owner);
    return kit::ExitStatus();
}
