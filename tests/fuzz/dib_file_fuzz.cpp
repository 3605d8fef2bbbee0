// Feeds arbitrary files through the bitmap loader's portable steps, and then
// reads everything the platform's conversion would read, so that the
// sanitizers see any byte the loader lets it reach outside the file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ui/dib_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!AcceptableBitmapFileLength(size) || !IsBitmapFileHeader(data, size)) return 0;
    // An exact-size copy of the information block, as the loader reads it.
    std::size_t infoSize = size - kDibFileHeaderBytes;
    std::vector<unsigned char> info(data + kDibFileHeaderBytes, data + size);
    info.shrink_to_fit();
    DibLayout layout;
    if (!ParseDibInfo(info.data(), infoSize, &layout)) return 0;
    // A few bytes of RLE can claim a picture of 64 MB; decoding that many
    // blank rows teaches the fuzzer nothing and slows it down a thousandfold.
    if (layout.IsCompressed() && layout.imageSize > (1u << 20)) return 0;

    DibColour colours[256];
    std::size_t count = ReadDibPalette(info.data(), layout, colours);
    if (count > 256) __builtin_trap();

    unsigned char header[kDibPlatformHeaderMax];
    std::size_t headerLength = BuildPlatformHeader(info.data(), layout, header);
    if (headerLength > kDibPlatformHeaderMax) __builtin_trap();
    // The header must describe exactly the bits that PrepareDibBits gives.
    std::uint32_t width, height, sizeImage;
    std::memcpy(&width, header + 4, 4);
    std::memcpy(&height, header + 8, 4);
    std::memcpy(&sizeImage, header + 20, 4);
    std::size_t stride = (static_cast<std::size_t>(width) * header[14] + 31) / 32 * 4;
    if (stride * height != layout.imageSize || sizeImage != layout.imageSize) __builtin_trap();

    std::vector<unsigned char> decoded;
    if (layout.IsCompressed()) decoded.resize(layout.imageSize);
    const unsigned char* bits = PrepareDibBits(info.data(), layout, decoded.data());
    if (!bits) __builtin_trap();
    // What the platform reads: stride * height bytes of pixel bits.
    unsigned sum = 0;
    for (std::size_t i = 0; i < layout.imageSize; ++i) sum += bits[i];
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
