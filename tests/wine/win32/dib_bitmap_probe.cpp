// Loads one picture file with DibBitmap and reports, one key=value a line:
//   size=W,H          what the object measures
//   palette=N         entries of its logical palette (0: none)
//   entry=#RRGGBB     the first palette entry, when there is one
//   realized=N        RealizePalette's result for it on the screen, and
//   palettedevice=0|1 whether the screen is a palette device
//   drawn=0|1         Draw's result for the whole picture
//   pixel=X,Y,#RRGGBB for each point given, as the whole picture drew it
//   single=X,Y,#RRGGBB the same point drawn alone, from source (X, Y)
// The pictures are drawn onto a 24-bit memory surface, so the colours read
// back are the ones the conversion produced.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ui/dib_bitmap_win.h"

namespace {

struct Surface {
    HDC context = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    unsigned char* bits = nullptr;
    int width = 0;
    int height = 0;

    Surface(int w, int h) : width(w < 1 ? 1 : w), height(h < 1 ? 1 : h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        HDC screen = GetDC(nullptr);
        context = CreateCompatibleDC(screen);
        void* memory = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        ReleaseDC(nullptr, screen);
        bits = static_cast<unsigned char*>(memory);
        previous = SelectObject(context, bitmap);
        // A colour no test picture uses, so that undrawn pixels show.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) Set(x, y, 0x12, 0x34, 0x56);
    }
    ~Surface() {
        SelectObject(context, previous);
        DeleteObject(bitmap);
        DeleteDC(context);
    }
    int Stride() const { return (width * 3 + 3) & ~3; }
    void Set(int x, int y, unsigned char r, unsigned char g, unsigned char b) {
        unsigned char* p = bits + y * Stride() + x * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void Print(const char* key, int x, int y, int atX, int atY) const {
        GdiFlush();
        const unsigned char* p = bits + atY * Stride() + atX * 3;
        std::printf("%s=%d,%d,#%02X%02X%02X\n", key, x, y, p[2], p[1], p[0]);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    DibBitmap picture(argv[1]);
    std::printf("size=%d,%d\n", picture.Width(), picture.Height());
    WORD entries = 0;
    if (picture.Palette()) GetObjectA(picture.Palette(), sizeof entries, &entries);
    std::printf("palette=%u\n", entries);
    if (entries) {
        PALETTEENTRY first = {};
        GetPaletteEntries(picture.Palette(), 0, 1, &first);
        std::printf("entry=#%02X%02X%02X\n", first.peRed, first.peGreen, first.peBlue);
        HDC screen = GetDC(nullptr);
        HPALETTE previous = SelectPalette(screen, picture.Palette(), FALSE);
        std::printf("realized=%u\n", RealizePalette(screen));
        std::printf("palettedevice=%d\n", (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? 1 : 0);
        SelectPalette(screen, previous, FALSE);
        ReleaseDC(nullptr, screen);
    }
    Surface whole(picture.Width(), picture.Height());
    BOOL drawn = picture.Draw(whole.context, 0, 0, picture.Width(), picture.Height(), 0, 0,
                              SRCCOPY, FALSE);
    std::printf("drawn=%d\n", drawn ? 1 : 0);
    for (int i = 2; i < argc; ++i) {
        int x = 0, y = 0;
        if (std::sscanf(argv[i], "%d,%d", &x, &y) != 2) continue;
        if (x < 0 || y < 0 || x >= whole.width || y >= whole.height) continue;
        whole.Print("pixel", x, y, x, y);
        Surface single(1, 1);
        picture.Draw(single.context, 0, 0, 1, 1, x, y, SRCCOPY, TRUE);
        single.Print("single", x, y, 0, 0);
    }
    return 0;
}
