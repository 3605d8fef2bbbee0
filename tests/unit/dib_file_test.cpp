#include "ui/dib_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}
std::uint32_t Get32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// An information block (the file from offset 14 on).
struct Info {
    std::uint32_t headerSize = 40;
    std::int32_t width = 4;
    std::int32_t height = 2;
    unsigned bits = 8;
    std::uint32_t compression = kDibRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t coloursUsed = 0;
    int tableEntries = -1;  // -1: as many as the header says
    int masks = 0;          // 3 for bit fields behind a 40-byte header
    long bitsBytes = -1;    // -1: exactly the rows; else this many bytes

    std::size_t Stride() const { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }
    std::size_t Rows() const { return height < 0 ? -static_cast<long>(height) : height; }

    Bytes Build() const {
        Bytes out(headerSize < 40 ? 40 : headerSize, 0);
        Put32(out, 0, headerSize);
        Put32(out, 4, static_cast<std::uint32_t>(width));
        Put32(out, 8, static_cast<std::uint32_t>(height));
        out[12] = 1;
        out[14] = static_cast<unsigned char>(bits);
        Put32(out, 16, compression);
        Put32(out, 20, sizeImage);
        Put32(out, 32, coloursUsed);
        for (int i = 0; i < masks; ++i) {
            out.insert(out.end(), 4, 0);
            Put32(out, out.size() - 4, 0xF800u >> (5 * i));
        }
        int entries = tableEntries;
        if (entries < 0) entries = coloursUsed ? coloursUsed : bits <= 8 ? 1 << bits : 0;
        for (int i = 0; i < entries; ++i) {
            unsigned char quad[4] = {static_cast<unsigned char>(i), static_cast<unsigned char>(i + 1),
                                     static_cast<unsigned char>(i + 2), 0x77};
            out.insert(out.end(), quad, quad + 4);
        }
        std::size_t pixels = bitsBytes < 0 ? Stride() * Rows() : static_cast<std::size_t>(bitsBytes);
        if (pixels > (std::size_t(1) << 24)) pixels = 0;  // cases of huge pictures carry no bits
        for (std::size_t i = 0; i < pixels; ++i) out.push_back(static_cast<unsigned char>(i));
        return out;
    }
};

TEST(DibFile, FileHeaderAndLength) {
    const unsigned char bm[14] = {'B', 'M'};
    const unsigned char mz[14] = {'M', 'Z'};
    EXPECT_TRUE(IsBitmapFileHeader(bm, 14));
    EXPECT_FALSE(IsBitmapFileHeader(bm, 13));
    EXPECT_FALSE(IsBitmapFileHeader(mz, 14));
    EXPECT_FALSE(AcceptableBitmapFileLength(13));
    EXPECT_TRUE(AcceptableBitmapFileLength(14));
    EXPECT_TRUE(AcceptableBitmapFileLength(kDibMaxFileBytes));
    EXPECT_FALSE(AcceptableBitmapFileLength(kDibMaxFileBytes + 1));
    EXPECT_FALSE(AcceptableBitmapFileLength(0x100000000ull));
}

TEST(DibFile, AcceptedLayouts) {
    struct Case {
        const char* what;
        Info info;
        int width, height;
        bool topDown;
        std::size_t colours, colourOffset, bitsOffset, stride;
    } cases[] = {
        {"1 bit", {40, 9, 3, 1}, 9, 3, false, 2, 40, 48, 4},
        {"4 bits: bits 40 + 64 bytes in", {40, 5, 2, 4}, 5, 2, false, 16, 40, 104, 4},
        {"8 bits, full table", {40, 4, 2, 8}, 4, 2, false, 256, 40, 1064, 4},
        {"8 bits, biClrUsed honoured", {40, 4, 2, 8, 0, 0, 20}, 4, 2, false, 20, 40, 120, 4},
        {"16 bits", {40, 3, 2, 16}, 3, 2, false, 0, 40, 40, 8},
        {"24 bits: bits right behind the header", {40, 3, 2, 24}, 3, 2, false, 0, 40, 40, 12},
        {"32 bits", {40, 2, 5, 32}, 2, 5, false, 0, 40, 40, 8},
        {"24 bits, optional table skipped", {40, 3, 2, 24, 0, 0, 2}, 3, 2, false, 2, 40, 48, 12},
        {"top-down", {40, 3, -7, 24}, 3, 7, true, 0, 40, 40, 12},
        {"bit fields behind a 40-byte header",
         {40, 2, 2, 16, kDibBitfields, 0, 0, -1, 3}, 2, 2, false, 0, 52, 52, 4},
        {"bit fields inside a version 4 header", {108, 2, 2, 32, kDibBitfields}, 2, 2, false, 0,
         108, 108, 8},
        {"version 5 header, 8 bits: table behind it", {124, 4, 1, 8, 0, 0, 2}, 4, 1, false, 2,
         124, 132, 4},
        {"52-byte header", {52, 1, 1, 24}, 1, 1, false, 0, 52, 52, 4},
        {"largest width", {40, kDibMaxDimension, 1, 1}, kDibMaxDimension, 1, false, 2, 40, 48,
         4096},
        {"trailing bytes are allowed", {40, 1, 1, 24, 0, 0, 0, -1, 0, 100}, 1, 1, false, 0, 40,
         40, 4},
    };
    for (const Case& c : cases) {
        Bytes info = c.info.Build();
        DibLayout layout;
        ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout)) << c.what;
        EXPECT_EQ(layout.width, c.width) << c.what;
        EXPECT_EQ(layout.height, c.height) << c.what;
        EXPECT_EQ(layout.topDown, c.topDown) << c.what;
        EXPECT_EQ(layout.colourCount, c.colours) << c.what;
        EXPECT_EQ(layout.colourOffset, c.colourOffset) << c.what;
        EXPECT_EQ(layout.bitsOffset, c.bitsOffset) << c.what;
        EXPECT_EQ(layout.stride, c.stride) << c.what;
        EXPECT_EQ(layout.imageSize, c.stride * c.height) << c.what;
        EXPECT_LE(layout.bitsOffset + layout.bitsSize, info.size()) << c.what;
    }
}

TEST(DibFile, RefusedFiles) {
    struct Case {
        const char* what;
        Info info;
        long cut;  // bytes taken off the end of the block
    } cases[] = {
        {"12-byte header", {12}, 0},
        {"unknown header size", {64, 1, 1, 24}, 0},
        {"header longer than the file", {124, 1, 1, 24, 0, 0, 0, -1, 0, 0}, 0},
        {"zero width", {40, 0, 1, 24}, 0},
        {"negative width", {40, -1, 1, 24}, 0},
        {"width too large", {40, kDibMaxDimension + 1, 1, 1}, 0},
        {"zero height", {40, 1, 0, 24}, 0},
        {"height too large", {40, 1, kDibMaxDimension + 1, 1}, 0},
        {"height too far negative", {40, 1, -kDibMaxDimension - 1, 1}, 0},
        {"most negative height", {40, 1, INT32_MIN, 1, 0, 0, 0, -1, 0, 0}, 0},
        {"picture too large", {40, 8192, 8193, 8, 0, 0, 0, -1, 0, 0}, 0},
        {"0 bits", {40, 1, 1, 0}, 0},
        {"2 bits", {40, 1, 1, 2}, 0},
        {"48 bits", {40, 1, 1, 48}, 0},
        {"more colours than the bit count", {40, 1, 1, 4, 0, 0, 17}, 0},
        {"huge biClrUsed", {40, 1, 1, 24, 0, 0, 0xFFFFFFFFu, 0}, 0},
        {"colour table cut short", {40, 1, 1, 8, 0, 0, 0, 100, 0, 0}, 0},
        {"last row cut short", {40, 3, 3, 24}, 1},
        {"no pixel bits at all", {40, 1, 1, 24, 0, 0, 0, -1, 0, 0}, 0},
        {"RLE8 with 4 bits", {40, 2, 2, 4, kDibRle8, 0, 0, -1, 0, 4}, 0},
        {"RLE4 with 8 bits", {40, 2, 2, 8, kDibRle4, 0, 0, -1, 0, 4}, 0},
        {"top-down RLE8", {40, 2, -2, 8, kDibRle8, 0, 0, -1, 0, 4}, 0},
        {"RLE8 without data", {40, 2, 2, 8, kDibRle8, 0, 0, -1, 0, 0}, 0},
        {"bit fields with 24 bits", {40, 1, 1, 24, kDibBitfields, 0, 0, -1, 3}, 0},
        {"bit fields without masks", {40, 1, 1, 16, kDibBitfields, 0, 0, -1, 0, 0}, 0},
        {"JPEG", {40, 1, 1, 24, 4}, 0},
        {"PNG", {40, 1, 1, 32, 5}, 0},
    };
    for (const Case& c : cases) {
        Bytes info = c.info.Build();
        info.resize(info.size() - c.cut);
        DibLayout layout;
        layout.width = 99;
        EXPECT_FALSE(ParseDibInfo(info.data(), info.size(), &layout)) << c.what;
        EXPECT_EQ(layout.width, 0) << c.what;
    }
    Bytes shortBlock(39, 0);
    shortBlock[0] = 40;
    DibLayout layout;
    EXPECT_FALSE(ParseDibInfo(shortBlock.data(), shortBlock.size(), &layout));
}

TEST(DibFile, CompressedSizeFromSizeImage) {
    Info rle{40, 4, 2, 8, kDibRle8, 6, 0, -1, 0, 10};
    Bytes info = rle.Build();
    DibLayout layout;
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    EXPECT_EQ(layout.bitsSize, 6u);
    rle.sizeImage = 1000;  // larger than the file: the file's end wins
    info = rle.Build();
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    EXPECT_EQ(layout.bitsSize, 10u);
}

TEST(DibFile, PaletteEntries) {
    Info eight{40, 4, 1, 8};
    Bytes info = eight.Build();
    DibLayout layout;
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    DibColour colours[256];
    ASSERT_EQ(ReadDibPalette(info.data(), layout, colours), 256u);
    // Quads are blue, green, red, reserved.
    EXPECT_EQ(colours[10].blue, 10);
    EXPECT_EQ(colours[10].green, 11);
    EXPECT_EQ(colours[10].red, 12);

    Info fewer{124, 4, 1, 4, 0, 0, 3};  // table behind the 124-byte header
    info = fewer.Build();
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    ASSERT_EQ(ReadDibPalette(info.data(), layout, colours), 3u);
    EXPECT_EQ(colours[2].red, 4);

    Info deep{40, 4, 1, 24, 0, 0, 2};
    info = deep.Build();
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    EXPECT_EQ(ReadDibPalette(info.data(), layout, colours), 0u);
}

TEST(DibFile, PlatformHeader) {
    struct Case {
        const char* what;
        Info info;
        std::size_t length;
        std::uint32_t compression;
    } cases[] = {
        {"short table padded to 16 entries", {108, 3, -2, 4, 0, 0, 5}, 40 + 64, kDibRgb},
        {"RLE becomes uncompressed", {40, 3, 2, 8, kDibRle8, 0, 0, -1, 0, 8}, 40 + 1024, kDibRgb},
        {"24 bits: header alone", {56, 3, 2, 24, 0, 0, 9}, 40, kDibRgb},
        {"bit fields keep their masks", {40, 3, 2, 16, kDibBitfields, 0, 0, -1, 3}, 52,
         kDibBitfields},
    };
    for (const Case& c : cases) {
        Bytes info = c.info.Build();
        DibLayout layout;
        ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout)) << c.what;
        unsigned char header[kDibPlatformHeaderMax];
        std::memset(header, 0xEE, sizeof header);
        ASSERT_EQ(BuildPlatformHeader(info.data(), layout, header), c.length) << c.what;
        EXPECT_EQ(Get32(header), 40u) << c.what;
        EXPECT_EQ(Get32(header + 4), static_cast<std::uint32_t>(layout.width)) << c.what;
        EXPECT_EQ(Get32(header + 8), static_cast<std::uint32_t>(layout.height)) << c.what;
        EXPECT_EQ(header[12], 1) << c.what;
        EXPECT_EQ(header[14], layout.bitCount) << c.what;
        EXPECT_EQ(Get32(header + 16), c.compression) << c.what;
        EXPECT_EQ(Get32(header + 20), layout.imageSize) << c.what;
        EXPECT_EQ(Get32(header + 32), 0u) << c.what;  // a full table
        for (std::size_t i = 0; layout.HasPalette() && i < layout.colourCount; ++i) {
            const unsigned char* quad = header + 40 + 4 * i;
            EXPECT_EQ(0, std::memcmp(quad, info.data() + layout.colourOffset + 4 * i, 3)) << c.what;
            EXPECT_EQ(quad[3], 0) << c.what;
        }
        if (layout.HasPalette()) {
            for (std::size_t i = layout.colourCount * 4 + 40; i < c.length; ++i) {
                EXPECT_EQ(header[i], 0) << c.what << " byte " << i;
            }
        }
        if (c.compression == kDibBitfields) {
            EXPECT_EQ(Get32(header + 40), 0xF800u) << c.what;
        }
    }
}

TEST(DibFile, TopDownRowsAreTurnedOver) {
    Info topDown{40, 1, -3, 24};
    Bytes info = topDown.Build();
    DibLayout layout;
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    Bytes before(info.begin() + 40, info.end());
    const unsigned char* bits = PrepareDibBits(info.data(), layout, nullptr);
    ASSERT_EQ(bits, info.data() + 40);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(0, std::memcmp(bits + row * 4, before.data() + (2 - row) * 4, 4)) << row;
    }

    Info bottomUp{40, 1, 3, 24};
    info = bottomUp.Build();
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    before.assign(info.begin() + 40, info.end());
    bits = PrepareDibBits(info.data(), layout, nullptr);
    EXPECT_EQ(0, std::memcmp(bits, before.data(), before.size()));
}

TEST(DibFile, RleDecoding) {
    struct Case {
        const char* what;
        int bits, width, height;
        Bytes data;
        Bytes picture;  // rows bottom first, each row's stride bytes
    } cases[] = {
        {"RLE8 runs and end of line", 8, 4, 2, {3, 7, 0, 0, 1, 9, 0, 1}, {7, 7, 7, 0, 9, 0, 0, 0}},
        {"RLE8 absolute run with padding", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 4}, {1, 2, 3, 4}},
        {"RLE8 delta", 8, 4, 2, {0, 2, 2, 1, 2, 5}, {0, 0, 0, 0, 0, 0, 5, 5}},
        {"RLE8 runs clipped at the right edge", 8, 4, 2, {200, 1, 1, 2}, {1, 1, 1, 1, 0, 0, 0, 0}},
        {"RLE8 rows beyond the top dropped", 8, 4, 1, {1, 1, 0, 0, 1, 2, 0, 0, 4, 3}, {1, 0, 0, 0}},
        {"RLE8 absolute run cut by the end of data", 8, 4, 1, {0, 5, 1, 2}, {1, 2, 0, 0}},
        {"RLE8 delta cut by the end of data", 8, 4, 1, {1, 6, 0, 2, 1}, {6, 0, 0, 0}},
        {"RLE8 odd byte at the end", 8, 4, 1, {2, 3, 9}, {3, 3, 0, 0}},
        {"RLE4 alternating run", 4, 8, 1, {5, 0x12}, {0x12, 0x12, 0x10, 0}},
        {"RLE4 absolute run", 4, 8, 1, {0, 3, 0xAB, 0xC0}, {0xAB, 0xC0, 0, 0}},
        {"RLE4 run after an odd start", 4, 8, 1, {1, 0x50, 2, 0x66}, {0x56, 0x60, 0, 0}},
        {"RLE4 delta past the picture", 4, 8, 1, {0, 2, 200, 200, 1, 0x10}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::size_t stride = (static_cast<std::size_t>(c.width) * c.bits + 31) / 32 * 4;
        Bytes picture(stride * c.height, 0);
        // Exact-size copies, so that the sanitizers see any read past the data.
        std::unique_ptr<unsigned char[]> data(new unsigned char[c.data.size()]);
        std::memcpy(data.get(), c.data.data(), c.data.size());
        DecodeDibRle(data.get(), c.data.size(), c.bits, c.width, c.height, stride, picture.data());
        EXPECT_EQ(picture, c.picture) << c.what;
    }
}

TEST(DibFile, RlePreparedIntoItsOwnBuffer) {
    Info rle{40, 4, 1, 8, kDibRle8, 0, 0, -1, 0, 0};
    Bytes info = rle.Build();
    const unsigned char data[] = {4, 9, 0, 1};
    info.insert(info.end(), data, data + sizeof data);
    DibLayout layout;
    ASSERT_TRUE(ParseDibInfo(info.data(), info.size(), &layout));
    EXPECT_EQ(PrepareDibBits(info.data(), layout, nullptr), nullptr);
    Bytes decoded(layout.imageSize, 0xEE);
    ASSERT_EQ(PrepareDibBits(info.data(), layout, decoded.data()), decoded.data());
    EXPECT_EQ(decoded, (Bytes{9, 9, 9, 9}));
}

}  // namespace
