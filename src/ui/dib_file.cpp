#include "ui/dib_file.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t ReadU32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int32_t ReadI32(const unsigned char* bytes) {
    std::uint32_t value = ReadU32(bytes);
    return value <= 0x7FFFFFFFu ? static_cast<std::int32_t>(value)
                                : -static_cast<std::int32_t>(~value) - 1;
}

unsigned ReadU16(const unsigned char* bytes) {
    return static_cast<unsigned>(bytes[0]) | static_cast<unsigned>(bytes[1]) << 8;
}

void WriteU32(unsigned char* bytes, std::uint32_t value) {
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
    bytes[2] = static_cast<unsigned char>(value >> 16);
    bytes[3] = static_cast<unsigned char>(value >> 24);
}

bool IsKnownHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsKnownBitCount(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool CompressionFits(std::uint32_t compression, unsigned bits, bool topDown) {
    switch (compression) {
    case kDibRgb: return true;
    case kDibRle8: return bits == 8 && !topDown;
    case kDibRle4: return bits == 4 && !topDown;
    case kDibBitfields: return bits == 16 || bits == 32;
    default: return false;
    }
}

// Writes one pixel of a decoded RLE row; x and y are already inside.
void PutPixel(unsigned char* row, std::uint64_t x, int bitCount, unsigned value) {
    if (bitCount == 8) {
        row[x] = static_cast<unsigned char>(value);
        return;
    }
    unsigned char& byte = row[x / 2];
    byte = (x & 1) ? static_cast<unsigned char>((byte & 0xF0) | (value & 0x0F))
                   : static_cast<unsigned char>((byte & 0x0F) | (value & 0x0F) << 4);
}

}  // namespace

bool IsBitmapFileHeader(const unsigned char* bytes, std::size_t size) {
    return size >= kDibFileHeaderBytes && bytes[0] == 'B' && bytes[1] == 'M';
}

bool AcceptableBitmapFileLength(std::uint64_t length) {
    return length >= kDibFileHeaderBytes && length <= kDibMaxFileBytes;
}

bool ParseDibInfo(const unsigned char* info, std::size_t size, DibLayout* layout,
                  DibRefusal* refusal) {
    *layout = DibLayout();
    auto refuse = [refusal](DibRefusal why) {
        if (refusal) *refusal = why;
        return false;
    };
    if (size < 40) return refuse(kDibHeaderCut);
    std::uint32_t headerSize = ReadU32(info);
    if (!IsKnownHeaderSize(headerSize)) return refuse(kDibHeaderSize);
    if (headerSize > size) return refuse(kDibHeaderCut);

    std::int32_t width = ReadI32(info + 4);
    std::int32_t height = ReadI32(info + 8);
    unsigned bits = ReadU16(info + 14);
    std::uint32_t compression = ReadU32(info + 16);
    std::uint32_t sizeImage = ReadU32(info + 20);
    std::uint32_t coloursUsed = ReadU32(info + 32);

    if (width < 1 || width > kDibMaxDimension) return refuse(kDibWidth);
    if (height == 0 || height < -kDibMaxDimension || height > kDibMaxDimension)
        return refuse(kDibHeight);
    bool topDown = height < 0;
    if (!IsKnownBitCount(bits)) return refuse(kDibBitCount);
    if (!CompressionFits(compression, bits, topDown))
        return refuse(kDibCompression);

    std::uint64_t colours = coloursUsed;
    if (bits <= 8) {
        std::uint64_t full = std::uint64_t(1) << bits;
        if (colours == 0) colours = full;
        if (colours > full) return refuse(kDibColourCount);
    }
    std::uint64_t colourOffset = headerSize;
    if (compression == kDibBitfields && headerSize == 40) colourOffset += 12;
    std::uint64_t bitsOffset = colourOffset + 4 * colours;
    if (bitsOffset > size) return refuse(kDibColourTableCut);

    std::uint64_t rows = topDown ? -static_cast<std::int64_t>(height) : height;
    std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    std::uint64_t imageSize = stride * rows;
    if (imageSize > kDibMaxImageBytes) return refuse(kDibTooLarge);

    std::uint64_t available = size - bitsOffset;
    std::uint64_t bitsSize = imageSize;
    if (compression == kDibRle8 || compression == kDibRle4) {
        bitsSize = available;
        if (sizeImage != 0 && sizeImage < bitsSize) bitsSize = sizeImage;
        if (bitsSize == 0) return refuse(kDibNoBits);
    } else if (bitsSize > available) {
        return refuse(kDibBitsCut);
    }

    layout->width = width;
    layout->height = static_cast<int>(rows);
    layout->topDown = topDown;
    layout->bitCount = static_cast<int>(bits);
    layout->compression = compression;
    layout->headerSize = headerSize;
    layout->colourCount = static_cast<std::size_t>(colours);
    layout->colourOffset = static_cast<std::size_t>(colourOffset);
    layout->bitsOffset = static_cast<std::size_t>(bitsOffset);
    layout->bitsSize = static_cast<std::size_t>(bitsSize);
    layout->stride = static_cast<std::size_t>(stride);
    layout->imageSize = static_cast<std::size_t>(imageSize);
    return true;
}

std::size_t ReadDibPalette(const unsigned char* info, const DibLayout& layout, DibColour* out) {
    if (!layout.HasPalette()) return 0;
    const unsigned char* entry = info + layout.colourOffset;
    for (std::size_t i = 0; i < layout.colourCount; ++i, entry += 4) {
        out[i].blue = entry[0];
        out[i].green = entry[1];
        out[i].red = entry[2];
    }
    return layout.colourCount;
}

std::size_t BuildPlatformHeader(const unsigned char* info, const DibLayout& layout,
                                unsigned char* out) {
    std::memset(out, 0, kDibPlatformHeaderMax);
    WriteU32(out, 40);
    WriteU32(out + 4, static_cast<std::uint32_t>(layout.width));
    WriteU32(out + 8, static_cast<std::uint32_t>(layout.height));
    out[12] = 1;  // planes
    out[14] = static_cast<unsigned char>(layout.bitCount);
    WriteU32(out + 16, layout.compression == kDibBitfields ? kDibBitfields : kDibRgb);
    WriteU32(out + 20, static_cast<std::uint32_t>(layout.imageSize));
    std::memcpy(out + 24, info + 24, 8);  // pixels per metre
    std::size_t length = 40;
    if (layout.HasPalette()) {
        // A full table, so that no pixel can index past it.
        std::size_t full = std::size_t(1) << layout.bitCount;
        std::memcpy(out + 40, info + layout.colourOffset, layout.colourCount * 4);
        for (std::size_t i = 0; i < layout.colourCount; ++i) out[40 + 4 * i + 3] = 0;
        length += full * 4;
    } else if (layout.compression == kDibBitfields) {
        std::memcpy(out + 40, info + 40, 12);
        length += 12;
    }
    return length;
}

const unsigned char* PrepareDibBits(unsigned char* info, const DibLayout& layout,
                                    unsigned char* decoded) {
    if (layout.IsCompressed()) {
        if (!decoded) return nullptr;
        std::memset(decoded, 0, layout.imageSize);
        DecodeDibRle(info + layout.bitsOffset, layout.bitsSize, layout.bitCount, layout.width,
                     layout.height, layout.stride, decoded);
        return decoded;
    }
    unsigned char* bits = info + layout.bitsOffset;
    if (layout.topDown) {
        for (int top = 0, bottom = layout.height - 1; top < bottom; ++top, --bottom) {
            unsigned char* upper = bits + static_cast<std::size_t>(top) * layout.stride;
            unsigned char* lower = bits + static_cast<std::size_t>(bottom) * layout.stride;
            std::swap_ranges(upper, upper + layout.stride, lower);
        }
    }
    return bits;
}

void DecodeDibRle(const unsigned char* data, std::size_t size, int bitCount, int width, int height,
                  std::size_t stride, unsigned char* out) {
    const std::uint64_t columns = static_cast<std::uint64_t>(width);
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::size_t pos = 0;
    while (pos + 2 <= size && y < static_cast<std::uint64_t>(height)) {
        unsigned count = data[pos];
        unsigned value = data[pos + 1];
        pos += 2;
        unsigned char* row = out + static_cast<std::size_t>(y) * stride;
        if (count > 0) {
            // A run of one index (RLE8) or of two alternating indices (RLE4).
            std::uint64_t inside = x < columns ? std::min<std::uint64_t>(count, columns - x) : 0;
            for (std::uint64_t i = 0; i < inside; ++i) {
                unsigned pixel = bitCount == 8 ? value : (i & 1) ? value & 0x0F : value >> 4;
                PutPixel(row, x + i, bitCount, pixel);
            }
            x += count;
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            break;
        } else if (value == 2) {  // move right and up
            if (pos + 2 > size) break;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {  // `value` pixels written out, padded to a 16-bit boundary
            std::size_t bytes = bitCount == 8 ? value : (value + 1) / 2;
            std::size_t present = std::min(bytes, size - pos);
            std::uint64_t pixels = bitCount == 8 ? present : std::min<std::uint64_t>(value, 2 * present);
            std::uint64_t inside = x < columns ? std::min(pixels, columns - x) : 0;
            for (std::uint64_t i = 0; i < inside; ++i) {
                unsigned pixel = bitCount == 8 ? data[pos + i]
                                 : (i & 1)     ? data[pos + i / 2] & 0x0F
                                               : data[pos + i / 2] >> 4;
                PutPixel(row, x + i, bitCount, pixel);
            }
            x += value;
            if (present < bytes) break;
            pos += bytes + (bytes & 1);
        }
    }
}
