#include "ui/dib_bitmap.h"

// Loading and drawing are not built yet: every picture measures 0 by 0 and
// draws nothing.
DibBitmap::DibBitmap(const char* path) : fileName_(path ? path : "") {}

DibBitmap::~DibBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
    if (palette_) DeleteObject(palette_);
}

void DibBitmap::Load(const char*) {}

BOOL DibBitmap::Draw(HDC, int, int, int, int, int, int, DWORD, BOOL) const { return FALSE; }
