#include "ui/dib_bitmap_win.h"

#include <cstring>

#include "ui/dib_file.h"
#include "ui/dib_scale.h"

DibBitmap::DibBitmap(const char* path, int scale) : fileName_(path ? path : ""), scale_(scale) {
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
    HBITMAP bitmap = nullptr;
    if (bits) {
        bitmap = scale_ > 1 ? MakeScaledBitmap(screen, info, bitmapInfo, bits, layout, scale_)
                            : MakeDisplayBitmap(screen, bitmapInfo, bits, layout);
    }
    if (bitmap) {
        width_ = layout.width * scale_;
        height_ = layout.height * scale_;
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = bitmap;
        if (palette) {
            colours_.count = ReadDibPalette(info, layout, colours_.colours);
            for (std::uint32_t& uses : colours_.uses) uses = 0;
            CountColourUse(bits, layout.bitCount, layout.width, layout.height, layout.stride,
                           colours_.uses, colours_.count);
        }
    }
    // The screen's device context is shared: it does not keep our palette.
    if (previous) SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    if (decodedBlock) {
        GlobalUnlock(decodedBlock);
        GlobalFree(decodedBlock);
    }
}

// On a palette display a bitmap in the display's format holds system palette
// indices, fixed when it is made: right only while the palette it was made
// with stays realized, and the screen realizes one palette for all its
// pictures. There the picture stays device-independent, in its own format
// with its own colour table, and each copy matches its colours to the
// palette realized at that moment. Elsewhere it is converted once.
HBITMAP DibBitmap::MakeDisplayBitmap(HDC screen, const BITMAPINFO* bitmapInfo,
                                     const unsigned char* bits, const DibLayout& layout) {
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) {
        return CreateDIBitmap(screen, &bitmapInfo->bmiHeader, CBM_INIT, bits, bitmapInfo,
                              DIB_RGB_COLORS);
    }
    void* sectionBits = nullptr;
    HBITMAP section =
        CreateDIBSection(screen, bitmapInfo, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    if (!section) return nullptr;
    if (!sectionBits) {
        DeleteObject(section);
        return nullptr;
    }
    std::memcpy(sectionBits, bits, layout.imageSize);
    return section;
}

// Enlarging, GDI repeats each pixel (whatever the stretch mode), so the
// picture stays as sharp as its file. It stays device-independent, as on a
// palette display: its colours are matched to the screen at each copy.
HBITMAP DibBitmap::MakeScaledBitmap(HDC screen, const unsigned char* info,
                                    const BITMAPINFO* bitmapInfo, const unsigned char* bits,
                                    const DibLayout& layout, int scale) {
    DibLayout scaled;
    if (!ScaledDibLayout(layout, scale, &scaled)) return nullptr;
    unsigned char header[kDibPlatformHeaderMax];
    BuildPlatformHeader(info, scaled, header);
    void* sectionBits = nullptr;
    HBITMAP section = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(header),
                                       DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    HDC memory = section ? CreateCompatibleDC(screen) : nullptr;
    int rows = 0;
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, section);
        rows = StretchDIBits(memory, 0, 0, scaled.width, scaled.height, 0, 0, layout.width,
                             layout.height, bits, bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    if (rows > 0) return section;
    if (section) DeleteObject(section);
    return nullptr;
}

HPALETTE CreateColourPalette(const DibColour* colours, std::size_t count) {
    if (count == 0 || count > 256) return nullptr;
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
    return palette;
}

HPALETTE DibBitmap::BuildPalette(const unsigned char* info, const DibLayout& layout,
                                 int* colourCount) {
    *colourCount = 0;
    if (!layout.HasPalette() || layout.colourCount == 0) return nullptr;
    DibColour colours[256];
    std::size_t count = ReadDibPalette(info, layout, colours);
    HPALETTE palette = CreateColourPalette(colours, count);
    if (palette) *colourCount = static_cast<int>(count);
    return palette;
}

BOOL DibBitmap::Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY,
                     DWORD rop, BOOL forceBackground) const {
    if (!bitmap_) return FALSE;
    HDC memory = CreateCompatibleDC(target);
    if (!memory) return FALSE;
    HPALETTE palette = screenPalette_ ? screenPalette_ : palette_;
    if (screenPalette_) forceBackground = FALSE;
    HPALETTE previousPalette = nullptr;
    if (palette) {
        SelectPalette(target, palette, forceBackground);
        RealizePalette(target);
        previousPalette = SelectPalette(memory, palette, forceBackground);
        RealizePalette(memory);
    }
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap_);
    BOOL copied = BitBlt(target, x, y, width, height, memory, sourceX, sourceY, rop);
    if (previousBitmap) SelectObject(memory, previousBitmap);
    if (previousPalette) SelectPalette(memory, previousPalette, forceBackground);
    DeleteDC(memory);
    return copied;
}

HPALETTE ShareScreenPalette(DibBitmap* const* pictures, std::size_t count) {
    const PictureColours* tables[kMaxScreenPictures];
    std::size_t tableCount = 0;
    for (std::size_t i = 0; i < count && tableCount < kMaxScreenPictures; ++i) {
        if (pictures[i] && pictures[i]->IsLoaded()) tables[tableCount++] = &pictures[i]->Colours();
    }
    DibColour colours[kScreenPaletteEntries];
    std::size_t entries = BuildScreenPalette(tables, tableCount, kScreenPaletteEntries, colours);
    HPALETTE palette = CreateColourPalette(colours, entries);
    if (!palette) return nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (pictures[i] && pictures[i]->IsLoaded()) pictures[i]->UseScreenPalette(palette);
    }
    return palette;
}
