#pragma once
// A picture loaded from a Windows bitmap file, converted once to the
// display's format, with the logical palette of its colour table.
#include <windows.h>

#include <string>

#include "ui/screen_palette.h"

struct DibLayout;

// A logical palette of the colours, or null when there are none or creation
// fails.
HPALETTE CreateColourPalette(const DibColour* colours, std::size_t count);

class DibBitmap {
public:
    // With a scale above 1 the picture is drawn that many times larger
    // (ScaleDibPixels); its width and height are those it is drawn at.
    explicit DibBitmap(const char* path, int scale = 1);
    virtual ~DibBitmap();
    DibBitmap(const DibBitmap&) = delete;
    DibBitmap& operator=(const DibBitmap&) = delete;

    // Reads the file; a file that cannot be read or drawn leaves the object
    // as it was (a new object measures 0 by 0 and draws nothing).
    void Load(const char* path);
    // Copies the rectangle of the picture at (sourceX, sourceY) to (x, y) of
    // the target, realizing the palette in both device contexts first. The
    // palette stays selected in the target. With a screen palette, that one
    // is realized, always as the foreground palette: the screen's pictures
    // then all meet the same colours.
    BOOL Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY,
              DWORD rop, BOOL forceBackground) const;

    // Whether a picture was loaded; one that was not measures 0 by 0.
    bool IsLoaded() const { return bitmap_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }
    const std::string& FileName() const { return fileName_; }
    HPALETTE Palette() const { return palette_; }
    // The colour table and its use, for pictures of up to 8 bits per pixel.
    const PictureColours& Colours() const { return colours_; }
    // The palette of the whole screen (not owned), or null for the picture's own.
    void UseScreenPalette(HPALETTE palette) { screenPalette_ = palette; }

private:
    // The logical palette of the colour table, or null above 8 bits per pixel.
    static HPALETTE BuildPalette(const unsigned char* info, const DibLayout& layout,
                                 int* colourCount);
    void Convert(unsigned char* info, const DibLayout& layout);

    static HBITMAP MakeDisplayBitmap(HDC screen, const BITMAPINFO* bitmapInfo,
                                     const unsigned char* bits, const DibLayout& layout);
    // The picture `scale` times larger, each pixel repeated; null when it
    // would be too large (ScaledDibLayout) or cannot be made.
    static HBITMAP MakeScaledBitmap(HDC screen, const unsigned char* info,
                                    const BITMAPINFO* bitmapInfo, const unsigned char* bits,
                                    const DibLayout& layout, int scale);

    HBITMAP bitmap_ = nullptr;
    HPALETTE palette_ = nullptr;
    HPALETTE screenPalette_ = nullptr;
    PictureColours colours_;
    std::string fileName_;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
};

// Makes one palette from the colours of all the pictures (BuildScreenPalette)
// and has each of them drawn through it. Returns the palette, which the
// caller owns and keeps until the pictures are gone; null when no picture
// has a colour table (each then keeps its own palette, if any).
// At most kMaxScreenPictures pictures count: the background and a full
// button picture cache.
constexpr std::size_t kMaxScreenPictures = 33;
HPALETTE ShareScreenPalette(DibBitmap* const* pictures, std::size_t count);
