#include "pictures/icon_writer.h"

#include <map>

#include "pictures/colour_reduction.h"

namespace {

constexpr int kPaletteColours = 256;
constexpr std::size_t kDirectoryBytes = 6, kEntryBytes = 16, kHeaderBytes = 40;

void PutWord(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutLong(std::vector<unsigned char>& out, unsigned value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

std::size_t RowBytes(int bitsPerRow) { return static_cast<std::size_t>((bitsPerRow + 31) / 32 * 4); }

// One image as an icon holds it: the bitmap header (twice the height, for
// the colour and the mask), the palette, the colour rows, the mask rows (all
// clear: opaque), each from the bottom up.
std::vector<unsigned char> IconImage(PicturePixels picture) {
    std::vector<std::uint32_t> palette = ReduceColours(picture, kPaletteColours, false);
    std::map<std::uint32_t, unsigned char> indexOf;
    for (std::size_t i = 0; i < palette.size(); ++i) indexOf.emplace(palette[i], static_cast<unsigned char>(i));
    std::size_t colourRow = RowBytes(picture.width * 8), maskRow = RowBytes(picture.width);
    std::size_t imageBytes = (colourRow + maskRow) * static_cast<std::size_t>(picture.height);

    std::vector<unsigned char> out;
    PutLong(out, kHeaderBytes);
    PutLong(out, static_cast<unsigned>(picture.width));
    PutLong(out, static_cast<unsigned>(picture.height * 2));
    PutWord(out, 1);
    PutWord(out, 8);
    PutLong(out, 0);
    PutLong(out, static_cast<unsigned>(imageBytes));
    for (int i = 0; i < 4; ++i) PutLong(out, 0);
    for (int i = 0; i < kPaletteColours; ++i) {
        std::uint32_t colour = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        out.push_back(static_cast<unsigned char>(colour));
        out.push_back(static_cast<unsigned char>(colour >> 8));
        out.push_back(static_cast<unsigned char>(colour >> 16));
        out.push_back(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        std::size_t start = out.size();
        for (int x = 0; x < picture.width; ++x) out.push_back(indexOf[picture.colours[y * picture.width + x]]);
        out.resize(start + colourRow, 0);
    }
    out.resize(out.size() + maskRow * static_cast<std::size_t>(picture.height), 0);
    return out;
}

}  // namespace

std::vector<unsigned char> WriteIconFile(const std::vector<PicturePixels>& pictures) {
    std::vector<std::vector<unsigned char>> images;
    for (const PicturePixels& picture : pictures) images.push_back(IconImage(picture));
    std::vector<unsigned char> out;
    PutWord(out, 0);
    PutWord(out, 1);
    PutWord(out, static_cast<unsigned>(images.size()));
    std::size_t offset = kDirectoryBytes + kEntryBytes * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<unsigned char>(pictures[i].width & 0xFF));  // 0 stands for 256
        out.push_back(static_cast<unsigned char>(pictures[i].height & 0xFF));
        out.push_back(0);  // 256 colours
        out.push_back(0);
        PutWord(out, 1);
        PutWord(out, 8);
        PutLong(out, static_cast<unsigned>(images[i].size()));
        PutLong(out, static_cast<unsigned>(offset));
        offset += images[i].size();
    }
    for (const std::vector<unsigned char>& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}
