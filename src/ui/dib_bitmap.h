#pragma once
// A picture loaded from a Windows bitmap file, converted once to the
// display's format, with the logical palette of its colour table.
#include <windows.h>

#include <string>

struct DibLayout;

class DibBitmap {
public:
    explicit DibBitmap(const char* path);
    virtual ~DibBitmap();
    DibBitmap(const DibBitmap&) = delete;
    DibBitmap& operator=(const DibBitmap&) = delete;

    // Reads the file; a file that cannot be read or drawn leaves the object
    // as it was (a new object measures 0 by 0 and draws nothing).
    void Load(const char* path);
    // Copies the rectangle of the picture at (sourceX, sourceY) to (x, y) of
    // the target, realizing the palette in both device contexts first. The
    // palette stays selected in the target.
    BOOL Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY,
              DWORD rop, BOOL forceBackground) const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::string& FileName() const { return fileName_; }
    HPALETTE Palette() const { return palette_; }

private:
    // The logical palette of the colour table, or null above 8 bits per pixel.
    static HPALETTE BuildPalette(const unsigned char* info, const DibLayout& layout,
                                 int* colourCount);
    void Convert(unsigned char* info, const DibLayout& layout);

    HBITMAP bitmap_ = nullptr;
    HPALETTE palette_ = nullptr;
    std::string fileName_;
    int width_ = 0;
    int height_ = 0;
};
