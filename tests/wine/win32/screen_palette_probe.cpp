// Loads a background and button pictures with DibBitmap, gives them one
// screen palette and draws them onto a window the way the screen does
// (background in the foreground, buttons forcing the background). Reports,
// one key=value a line:
//   palettedevice=0|1   whether the display is a palette device
//   shared=N            entries of the screen palette (0: none)
//   missing=FILE,K      colours FILE uses that the screen palette lacks
//   unrealized=FILE,K   colours FILE uses that the system palette lacks
//                       after everything was drawn: these show wrong
//   pixel=FILE,X,Y,#RRGGBB  the picture drawn alone onto a 24-bit surface
#include <windows.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/dib_bitmap_win.h"

namespace {

unsigned Key(BYTE r, BYTE g, BYTE b) { return (r << 16) | (g << 8) | b; }

std::set<unsigned> UsedColours(const DibBitmap& picture) {
    std::set<unsigned> used;
    const PictureColours& table = picture.Colours();
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.uses[i] == 0) continue;
        const DibColour& c = table.colours[i];
        used.insert(Key(c.red, c.green, c.blue));
    }
    return used;
}

int Lacking(const std::set<unsigned>& used, const PALETTEENTRY* entries, int count) {
    std::set<unsigned> have;
    for (int i = 0; i < count; ++i)
        have.insert(Key(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
    int lacking = 0;
    for (unsigned colour : used) lacking += have.count(colour) ? 0 : 1;
    return lacking;
}

void PrintPixel(const char* name, const DibBitmap& picture, int x, int y) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC context = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(context, surface);
    picture.Draw(context, 0, 0, 1, 1, x, y, SRCCOPY, TRUE);
    GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(bits);
    std::printf("pixel=%s,%d,%d,#%02X%02X%02X\n", name, x, y, p[2], p[1], p[0]);
    SelectObject(context, previous);
    DeleteDC(context);
    DeleteObject(surface);
}

}  // namespace

// Arguments: background, then button pictures, then X,Y points sampled in
// every picture. With --own first, each picture keeps its own palette, as
// if no screen palette were made.
int main(int argc, char** argv) {
    std::vector<std::unique_ptr<DibBitmap>> pictures;
    std::vector<const char*> names;
    std::vector<POINT> points;
    bool own = false;
    for (int i = 1; i < argc; ++i) {
        POINT point;
        if (std::string(argv[i]) == "--own") {
            own = true;
        } else if (std::sscanf(argv[i], "%ld,%ld", &point.x, &point.y) == 2) {
            points.push_back(point);
        } else {
            pictures.emplace_back(new DibBitmap(argv[i]));
            names.push_back(argv[i]);
        }
    }
    std::vector<DibBitmap*> all;
    for (auto& picture : pictures) all.push_back(picture.get());
    HPALETTE shared = own ? nullptr : ShareScreenPalette(all.data(), all.size());

    HDC screen = GetDC(nullptr);
    std::printf("palettedevice=%d\n", (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? 1 : 0);
    ReleaseDC(nullptr, screen);
    PALETTEENTRY entries[256] = {};
    int sharedCount = shared ? GetPaletteEntries(shared, 0, 256, entries) : 0;
    std::printf("shared=%d\n", sharedCount);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        std::printf("missing=%s,%d\n", names[i], Lacking(UsedColours(*pictures[i]), entries,
                                                          sharedCount));
    }

    HWND window = CreateWindowExA(0, "STATIC", "palette probe", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                  480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HDC context = GetDC(window);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DibBitmap& p = *pictures[i];
        p.Draw(context, 0, 0, p.Width(), p.Height(), 0, 0, SRCCOPY, i == 0 ? FALSE : TRUE);
    }
    PALETTEENTRY system[256] = {};
    int systemCount = static_cast<int>(GetSystemPaletteEntries(context, 0, 256, system));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        std::printf("unrealized=%s,%d\n", names[i],
                    systemCount ? Lacking(UsedColours(*pictures[i]), system, systemCount) : -1);
    }
    ReleaseDC(window, context);
    DestroyWindow(window);

    for (std::size_t i = 0; i < pictures.size(); ++i) {
        for (const POINT& point : points) PrintPixel(names[i], *pictures[i], point.x, point.y);
    }
    pictures.clear();
    if (shared) DeleteObject(shared);
    return 0;
}
