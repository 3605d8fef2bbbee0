#include "pictures/bitmap_writer.h"

#include <unordered_map>

#include "ui/dib_file.h"

namespace {

constexpr unsigned kLongestRun = 255;

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutU16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

// Pixels from x on that an encoded run gives: one index (RLE8), or two
// alternating ones (RLE4).
unsigned RunAt(const std::vector<unsigned char>& row, std::size_t x, bool alternating) {
    const unsigned char first = row[x];
    const unsigned char second = alternating && x + 1 < row.size() ? row[x + 1] : first;
    unsigned run = 1;
    while (x + run < row.size() && run < kLongestRun && row[x + run] == ((run & 1) ? second : first)) ++run;
    return run;
}

// One row: runs where they save bytes, the rest written out ("absolute"
// mode, at least 3 pixels, padded to 16 bits).
void EncodeRow(const std::vector<unsigned char>& row, bool fourBit, std::vector<unsigned char>& out) {
    const unsigned worthARun = fourBit ? 5 : 3;
    std::size_t x = 0;
    while (x < row.size()) {
        unsigned run = RunAt(row, x, fourBit);
        if (run >= (fourBit ? 4u : 2u)) {
            out.push_back(static_cast<unsigned char>(run));
            out.push_back(fourBit ? static_cast<unsigned char>(row[x] << 4 | (x + 1 < row.size() ? row[x + 1] : row[x]))
                                  : row[x]);
            x += run;
            continue;
        }
        std::size_t end = x + 1;
        while (end < row.size() && end - x < kLongestRun && RunAt(row, end, fourBit) < worthARun) ++end;
        const std::size_t count = end - x;
        if (count < 3) {
            // Too short to write out: runs of one pixel (two in RLE4).
            for (std::size_t i = x; i < end;) {
                const std::size_t pixels = fourBit && i + 1 < end ? 2 : 1;
                out.push_back(static_cast<unsigned char>(pixels));
                out.push_back(fourBit ? static_cast<unsigned char>(row[i] << 4 | (pixels == 2 ? row[i + 1] : 0))
                                      : row[i]);
                i += pixels;
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<unsigned char>(count));
            std::size_t bytes = fourBit ? (count + 1) / 2 : count;
            for (std::size_t i = 0; i < bytes; ++i) {
                out.push_back(fourBit ? static_cast<unsigned char>(row[x + 2 * i] << 4 |
                                                                   (2 * i + 1 < count ? row[x + 2 * i + 1] : 0))
                                      : row[x + i]);
            }
            if (bytes & 1) out.push_back(0);
        }
        x = end;
    }
}

std::vector<unsigned char> EncodeRle(const std::vector<std::vector<unsigned char>>& rows, bool fourBit) {
    std::vector<unsigned char> out;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        EncodeRow(rows[y], fourBit, out);
        out.push_back(0);
        out.push_back(y + 1 < rows.size() ? 0 : 1);
    }
    return out;
}

std::vector<unsigned char> PackRows(const std::vector<std::vector<unsigned char>>& rows, int bitCount) {
    const std::size_t width = rows.empty() ? 0 : rows[0].size();
    const std::size_t stride = (width * bitCount + 31) / 32 * 4;
    std::vector<unsigned char> out(stride * rows.size(), 0);
    const int perByte = 8 / bitCount;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        unsigned char* target = &out[y * stride];
        for (std::size_t x = 0; x < width; ++x) {
            const int shift = 8 - bitCount * (static_cast<int>(x % perByte) + 1);
            target[x / perByte] |= static_cast<unsigned char>(rows[y][x] << shift);
        }
    }
    return out;
}

std::vector<unsigned char> BitmapFile(const PicturePixels& pixels, const std::vector<std::uint32_t>& palette,
                                      int bitCount, std::uint32_t compression,
                                      const std::vector<unsigned char>& bits) {
    // A full colour table up to 8 bits a pixel, none above.
    const std::size_t tableEntries = bitCount <= 8 ? std::size_t(1) << bitCount : 0;
    const std::uint32_t bitsOffset = static_cast<std::uint32_t>(kDibFileHeaderBytes + 40 + 4 * tableEntries);
    std::vector<unsigned char> file = {'B', 'M'};
    PutU32(file, bitsOffset + static_cast<std::uint32_t>(bits.size()));
    PutU32(file, 0);
    PutU32(file, bitsOffset);
    PutU32(file, 40);
    PutU32(file, static_cast<std::uint32_t>(pixels.width));
    PutU32(file, static_cast<std::uint32_t>(pixels.height));
    PutU16(file, 1);
    PutU16(file, static_cast<unsigned>(bitCount));
    PutU32(file, compression);
    PutU32(file, static_cast<std::uint32_t>(bits.size()));
    file.insert(file.end(), pixels.pixelsPerMetre, pixels.pixelsPerMetre + 8);
    PutU32(file, 0);  // every entry of the table is used
    PutU32(file, 0);
    for (std::size_t i = 0; i < tableEntries; ++i) {
        std::uint32_t colour = i < palette.size() ? palette[i] : 0;
        file.push_back(static_cast<unsigned char>(colour));
        file.push_back(static_cast<unsigned char>(colour >> 8));
        file.push_back(static_cast<unsigned char>(colour >> 16));
        file.push_back(0);
    }
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

}  // namespace

std::vector<unsigned char> EncodeRle8(const std::vector<std::vector<unsigned char>>& rows) {
    return EncodeRle(rows, false);
}

std::vector<unsigned char> EncodeRle4(const std::vector<std::vector<unsigned char>>& rows) {
    return EncodeRle(rows, true);
}

std::vector<unsigned char> SmallestBitmap(const PicturePixels& pixels, const std::vector<std::uint32_t>& palette) {
    if (palette.empty() || palette.size() > 256) return {};
    std::unordered_map<std::uint32_t, unsigned char> index;
    for (std::size_t i = 0; i < palette.size(); ++i) index.emplace(palette[i], static_cast<unsigned char>(i));
    std::vector<std::vector<unsigned char>> rows(pixels.height, std::vector<unsigned char>(pixels.width));
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            auto found = index.find(pixels.colours[static_cast<std::size_t>(y) * pixels.width + x]);
            if (found == index.end()) return {};
            rows[pixels.height - 1 - y][x] = found->second;  // the bottom row first
        }
    }
    const int bitCount = palette.size() <= 2 ? 1 : palette.size() <= 16 ? 4 : 8;
    std::vector<std::vector<unsigned char>> candidates = {
        BitmapFile(pixels, palette, bitCount, kDibRgb, PackRows(rows, bitCount)),
        BitmapFile(pixels, palette, 8, kDibRle8, EncodeRle8(rows)),
    };
    if (bitCount <= 4) candidates.push_back(BitmapFile(pixels, palette, 4, kDibRle4, EncodeRle4(rows)));
    std::size_t best = 0;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        if (candidates[i].size() < candidates[best].size()) best = i;
    }
    return candidates[best];
}

std::vector<unsigned char> TrueColourBitmap(const PicturePixels& pixels) {
    const std::size_t stride = (static_cast<std::size_t>(pixels.width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> bits(stride * pixels.height, 0);
    for (int y = 0; y < pixels.height; ++y) {
        unsigned char* row = &bits[(pixels.height - 1 - y) * stride];  // the bottom row first
        for (int x = 0; x < pixels.width; ++x) {
            std::uint32_t colour = pixels.colours[static_cast<std::size_t>(y) * pixels.width + x];
            row[3 * x] = static_cast<unsigned char>(colour);
            row[3 * x + 1] = static_cast<unsigned char>(colour >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(colour >> 16);
        }
    }
    return BitmapFile(pixels, {}, 24, kDibRgb, bits);
}
