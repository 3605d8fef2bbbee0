#include "reading/check_host.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "ui/dib_cache.h"
#include "ui/dib_file.h"

namespace {

const char* RefusalText(DibRefusal refusal) {
    switch (refusal) {
        case kDibHeaderCut: return "the information header is cut short";
        case kDibHeaderSize: return "the information header has an unknown size (40, 52, 56, 108 or 124 bytes are read)";
        case kDibWidth: return "the width is not 1 to 32767";
        case kDibHeight: return "the height is 0 or beyond 32767";
        case kDibBitCount: return "the bits per pixel are not 1, 4, 8, 16, 24 or 32";
        case kDibCompression: return "the compression does not fit the bits per pixel";
        case kDibColourCount: return "the colour table has more entries than the bits allow";
        case kDibColourTableCut: return "the colour table is cut short";
        case kDibTooLarge: return "the picture is larger than 64 MB";
        case kDibNoBits: return "the compressed pixel bits are missing";
        case kDibBitsCut: return "the pixel bits are cut short";
    }
    return "the file is refused";
}

}  // namespace

PictureCheck CheckPictureFile(const DiscFolder& disc, const std::string& windowsPath) {
    PictureCheck check;
    check.file = disc.Find(windowsPath);
    if (!check.file.found || check.file.directory) return check;
    std::ifstream in(check.file.localPath, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (!AcceptableBitmapFileLength(bytes.size())) {
        check.refusal = bytes.size() < kDibFileHeaderBytes ? "the file is shorter than 14 bytes"
                                                           : "the file is larger than 128 MB";
        return check;
    }
    if (!IsBitmapFileHeader(bytes.data(), bytes.size())) {
        check.refusal = "the file does not start with \"BM\"; it is no Windows bitmap";
        const bool png = bytes.size() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
        const bool jpeg = bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
        const bool gif = bytes.size() >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8';
        if (png || jpeg || gif)
            check.refusal = std::string("it is a ") + (png ? "PNG" : jpeg ? "JPEG" : "GIF") +
                            " picture, and the program shows Windows bitmaps only (discscreen picture makes one of it)";
        return check;
    }
    DibLayout layout;
    DibRefusal refusal = kDibHeaderCut;
    if (!ParseDibInfo(bytes.data() + kDibFileHeaderBytes, bytes.size() - kDibFileHeaderBytes,
                      &layout, &refusal)) {
        check.refusal = RefusalText(refusal);
        return check;
    }
    check.loads = true;
    if (layout.compression == kDibBitfields &&
        !OlderWindowsDrawMasks(BitfieldMasks(bytes.data() + kDibFileHeaderBytes, layout.bitCount, layout.compression),
                               layout.bitCount))
        check.olderWindows = "its colour masks are none of 5-5-5 and 5-6-5 (16 bits) or 8-8-8 (32 bits)";
    check.width = layout.width;
    check.height = layout.height;
    return check;
}

ColourMasks BitfieldMasks(const unsigned char* info, int bitCount, std::uint32_t compression) {
    auto at = [&](int offset) {
        const unsigned char* p = info + offset;
        return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
    };
    if (compression == kDibBitfields) return {at(40), at(44), at(48)};
    if (bitCount == 16) return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

bool OlderWindowsDrawMasks(const ColourMasks& masks, int bitCount) {
    auto is = [&](std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
        return masks.red == red && masks.green == green && masks.blue == blue;
    };
    if (bitCount == 16) return is(0x7C00, 0x03E0, 0x001F) || is(0xF800, 0x07E0, 0x001F);
    return is(0xFF0000, 0x00FF00, 0x0000FF);
}

FontHandle CheckHost::CreateScriptFont(const FontChanges&) {
    return reinterpret_cast<FontHandle>(static_cast<std::uintptr_t>(++fonts_));
}

TextExtent CheckHost::MeasureText(FontHandle, const std::string& text) {
    TextExtent extent;
    extent.width = 7 * static_cast<int>(text.size());
    extent.height = 16;
    return extent;
}

void CheckHost::SetBackgroundBitmap(const std::string& path) {
    namedBackgrounds.push_back(path);
    PictureCheck picture = CheckPictureFile(disc_, path);
    // As in the program, a picture that does not load leaves the one before.
    if (!picture.loads) return;
    backgroundPath = path;
    hasBackground = true;
    backgroundWidth = picture.width;
    backgroundHeight = picture.height;
}

DibBitmap* CheckHost::GetButtonBitmap(const std::string& name, int* frameWidth, int* frameHeight) {
    std::string key = ButtonBitmapKey(machine_, name);
    std::size_t slot = 0;
    while (slot < used_ && keys_[slot] != key) ++slot;
    if (slot == used_) {
        if (used_ == keys_.size()) return nullptr;
        keys_[slot] = key;
        pictures_[slot] = CheckPictureFile(disc_, key);
        ++used_;
    }
    const PictureCheck& picture = pictures_[slot];
    *frameWidth = picture.loads ? picture.width / 4 : 0;
    *frameHeight = picture.loads ? picture.height : 0;
    // The record only needs a picture to point to; the checker never draws it.
    return reinterpret_cast<DibBitmap*>(&pictures_[slot]);
}
