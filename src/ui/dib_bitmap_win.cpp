#include "ui/dib_bitmap.h"

#include "ui/dib_file.h"

DibBitmap::DibBitmap(const char* path) : fileName_(path ? path : "") {
    if (path && *path) Load(path);
}

DibBitmap::~DibBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
    if (palette_) DeleteObject(palette_);
}

void DibBitmap::Load(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD high = 0;
    DWORD length = GetFileSize(file, &high);
    unsigned char fileHeader[kDibFileHeaderBytes];
    DWORD read = 0;
    if (length == INVALID_FILE_SIZE || high != 0 || !AcceptableBitmapFileLength(length) ||
        !ReadFile(file, fileHeader, sizeof fileHeader, &read, nullptr) ||
        !IsBitmapFileHeader(fileHeader, read)) {
        CloseHandle(file);
        return;
    }
    HGLOBAL block = GlobalAlloc(GHND, length);
    unsigned char* info = block ? static_cast<unsigned char*>(GlobalLock(block)) : nullptr;
    if (info) {
        DWORD infoSize = length - kDibFileHeaderBytes;
        DibLayout layout;
        if (ReadFile(file, info, infoSize, &read, nullptr) && read == infoSize &&
            ParseDibInfo(info, infoSize, &layout)) {
            Convert(info, layout);
        }
        GlobalUnlock(block);
    }
    if (block) GlobalFree(block);
    CloseHandle(file);
}

void DibBitmap::Convert(unsigned char* info, const DibLayout& layout) {
    HGLOBAL decodedBlock = nullptr;
    unsigned char* decoded = nullptr;
    if (layout.IsCompressed()) {
        decodedBlock = GlobalAlloc(GHND, layout.imageSize);
        decoded = decodedBlock ? static_cast<unsigned char*>(GlobalLock(decodedBlock)) : nullptr;
        if (!decoded) {
            if (decodedBlock) GlobalFree(decodedBlock);
            return;
        }
    }
    const unsigned char* bits = PrepareDibBits(info, layout, decoded);
    unsigned char header[kDibPlatformHeaderMax];
    BuildPlatformHeader(info, layout, header);
    const BITMAPINFO* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(header);

    HDC screen = GetDC(nullptr);
    int colourCount = 0;
    HPALETTE palette = BuildPalette(info, layout, &colourCount);
    HPALETTE previous = nullptr;
    if (palette) {
        // Realized before the conversion, so that on a palette display the
        // pixels map to the picture's own colours.
        previous = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
        if (palette_) DeleteObject(palette_);
        palette_ = palette;
    }
    HBITMAP bitmap = CreateDIBitmap(screen, &bitmapInfo->bmiHeader, CBM_INIT, bits, bitmapInfo,
                                    DIB_RGB_COLORS);
    if (bitmap) {
        width_ = layout.width;
        height_ = layout.height;
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = bitmap;
    }
    // The screen's device context is shared: it does not keep our palette.
    if (previous) SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    if (decodedBlock) {
        GlobalUnlock(decodedBlock);
        GlobalFree(decodedBlock);
    }
}

HPALETTE DibBitmap::BuildPalette(const unsigned char* info, const DibLayout& layout,
                                 int* colourCount) {
    *colourCount = 0;
    if (!layout.HasPalette() || layout.colourCount == 0) return nullptr;
    DibColour colours[256];
    std::size_t count = ReadDibPalette(info, layout, colours);
    HGLOBAL block = GlobalAlloc(GHND, sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    LOGPALETTE* logical = block ? static_cast<LOGPALETTE*>(GlobalLock(block)) : nullptr;
    if (!logical) {
        if (block) GlobalFree(block);
        return nullptr;
    }
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (std::size_t i = 0; i < count; ++i) {
        logical->palPalEntry[i].peRed = colours[i].red;
        logical->palPalEntry[i].peGreen = colours[i].green;
        logical->palPalEntry[i].peBlue = colours[i].blue;
        logical->palPalEntry[i].peFlags = 0;
    }
    HPALETTE palette = CreatePalette(logical);
    GlobalUnlock(block);
    GlobalFree(block);
    *colourCount = static_cast<int>(count);
    return palette;
}

BOOL DibBitmap::Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY,
                     DWORD rop, BOOL forceBackground) const {
    if (!bitmap_) return FALSE;
    HDC memory = CreateCompatibleDC(target);
    if (!memory) return FALSE;
    HPALETTE previousPalette = nullptr;
    if (palette_) {
        SelectPalette(target, palette_, forceBackground);
        RealizePalette(target);
        previousPalette = SelectPalette(memory, palette_, forceBackground);
        RealizePalette(memory);
    }
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap_);
    BOOL copied = BitBlt(target, x, y, width, height, memory, sourceX, sourceY, rop);
    if (previousBitmap) SelectObject(memory, previousBitmap);
    if (previousPalette) SelectPalette(memory, previousPalette, forceBackground);
    DeleteDC(memory);
    return copied;
}
