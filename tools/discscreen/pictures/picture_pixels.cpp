#include "pictures/picture_pixels.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "reading/check_host.h"
#include "ui/dib_file.h"

namespace {

// Four bytes each here: a picture beyond this is not worth the memory.
constexpr std::uint64_t kMostPixels = 16u * 1024 * 1024;

std::uint32_t Rgb(const unsigned char* bgr) {
    return static_cast<std::uint32_t>(bgr[2]) << 16 | static_cast<std::uint32_t>(bgr[1]) << 8 | bgr[0];
}

// One channel of a bit-field pixel, spread over 0 to 255.
std::uint32_t MaskedChannel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const std::uint32_t top = mask >> shift;
    return static_cast<std::uint32_t>((((pixel & mask) >> shift) * 255ull + top / 2) / top);
}

std::uint32_t MaskedRgb(const unsigned char* source, int bitCount, const ColourMasks& masks) {
    std::uint32_t pixel = source[0] | source[1] << 8;
    if (bitCount == 32) pixel |= static_cast<std::uint32_t>(source[2]) << 16 | static_cast<std::uint32_t>(source[3]) << 24;
    return MaskedChannel(pixel, masks.red) << 16 | MaskedChannel(pixel, masks.green) << 8 |
           MaskedChannel(pixel, masks.blue);
}

bool Contiguous(std::uint32_t mask) {
    if (mask == 0) return false;
    while (!(mask & 1)) mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

unsigned IndexAt(const unsigned char* row, int x, int bitCount) {
    if (bitCount == 8) return row[x];
    const int perByte = 8 / bitCount;
    const int shift = 8 - bitCount * (x % perByte + 1);
    return (row[x / perByte] >> shift) & ((1u << bitCount) - 1);
}

}  // namespace

bool DecodePicture(std::vector<unsigned char> file, PicturePixels* pixels, std::string* why) {
    if (!AcceptableBitmapFileLength(file.size()) || !IsBitmapFileHeader(file.data(), file.size())) {
        *why = "it is no bitmap the program loads";
        return false;
    }
    unsigned char* info = file.data() + kDibFileHeaderBytes;
    const std::size_t infoSize = file.size() - kDibFileHeaderBytes;
    DibLayout layout;
    if (!ParseDibInfo(info, infoSize, &layout)) {
        *why = "the program refuses it";
        return false;
    }
    // Bit fields are drawn as their masks say, as every Windows that draws
    // them does; the checker warns of masks that older ones do not draw.
    const bool masked = layout.bitCount == 16 || layout.compression == kDibBitfields;
    const ColourMasks masks = BitfieldMasks(info, layout.bitCount, layout.compression);
    if (masked && !(Contiguous(masks.red) && Contiguous(masks.green) && Contiguous(masks.blue))) {
        *why = "its colour masks are not runs of bits";
        return false;
    }
    if (static_cast<std::uint64_t>(layout.width) * layout.height > kMostPixels) {
        *why = "it has more than 16 million pixels";
        return false;
    }
    unsigned char header[kDibPlatformHeaderMax];
    BuildPlatformHeader(info, layout, header);
    std::vector<unsigned char> decoded(layout.IsCompressed() ? layout.imageSize : 0);
    const unsigned char* bits = PrepareDibBits(info, layout, decoded.empty() ? nullptr : decoded.data());
    if (!bits) {
        *why = "the program cannot decode it";
        return false;
    }

    pixels->width = layout.width;
    pixels->height = layout.height;
    pixels->bitCount = layout.bitCount;
    std::memcpy(pixels->pixelsPerMetre, info + 24, 8);
    pixels->colours.assign(static_cast<std::size_t>(layout.width) * layout.height, 0);
    const unsigned char* table = header + 40;
    const int bytesPerPixel = layout.bitCount / 8;
    for (int row = 0; row < layout.height; ++row) {
        const unsigned char* source = bits + static_cast<std::size_t>(row) * layout.stride;
        std::uint32_t* target = &pixels->colours[static_cast<std::size_t>(layout.height - 1 - row) * layout.width];
        for (int x = 0; x < layout.width; ++x) {
            const unsigned char* pixel = source + static_cast<std::size_t>(x) * bytesPerPixel;
            target[x] = layout.HasPalette() ? Rgb(table + 4 * IndexAt(source, x, layout.bitCount))
                        : masked            ? MaskedRgb(pixel, layout.bitCount, masks)
                                            : Rgb(pixel);
        }
    }
    return true;
}

std::vector<std::uint32_t> ColoursByUse(const PicturePixels& pixels, std::size_t limit) {
    std::unordered_map<std::uint32_t, std::uint32_t> uses;
    for (std::uint32_t colour : pixels.colours) {
        auto found = uses.find(colour);
        if (found != uses.end()) {
            ++found->second;
        } else if (uses.size() <= limit) {
            uses.emplace(colour, 1);
        }
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sorted(uses.begin(), uses.end());
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::vector<std::uint32_t> colours;
    for (const auto& entry : sorted) colours.push_back(entry.first);
    return colours;
}
