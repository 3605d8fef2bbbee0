#pragma once
// A picture loaded from a Windows bitmap file, converted once to the
// display's format, with the logical palette of its colour table.
#include <windows.h>

#include <string>

class DibBitmap {
public:
    explicit DibBitmap(const char* path);
    virtual ~DibBitmap();
    DibBitmap(const DibBitmap&) = delete;
    DibBitmap& operator=(const DibBitmap&) = delete;

    void Load(const char* path);
    BOOL Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY,
              DWORD rop, BOOL forceBackground) const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::string& FileName() const { return fileName_; }

private:
    HBITMAP bitmap_ = nullptr;
    HPALETTE palette_ = nullptr;
    std::string fileName_;
    int width_ = 0;
    int height_ = 0;
};
