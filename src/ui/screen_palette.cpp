#include "ui/screen_palette.h"

#include <algorithm>
#include <vector>

namespace {

// A colour and its weight: the sum over the pictures of the share of each
// picture's pixels that use it, in units of 1/65536 of a picture.
struct Weighted {
    std::uint32_t key;
    std::uint64_t weight;
};

constexpr std::uint64_t kWholePicture = 65536;

std::uint32_t Key(const DibColour& colour) {
    return (static_cast<std::uint32_t>(colour.red) << 16) |
           (static_cast<std::uint32_t>(colour.green) << 8) | colour.blue;
}

DibColour FromKey(std::uint32_t key) {
    DibColour colour;
    colour.red = static_cast<unsigned char>(key >> 16);
    colour.green = static_cast<unsigned char>(key >> 8);
    colour.blue = static_cast<unsigned char>(key);
    return colour;
}

// Shell sort by colour (gaps 1, 4, 13, 40 ...): a few thousand entries at
// most, and in the program a tenth of the size of std::sort. Entries of one
// colour are summed afterwards, so their order does not matter.
void SortByColour(std::vector<Weighted>& entries) {
    const std::size_t count = entries.size();
    std::size_t gap = 1;
    while (gap < count / 3) gap = gap * 3 + 1;
    for (; gap > 0; gap /= 3) {
        for (std::size_t i = gap; i < count; ++i) {
            const Weighted moving = entries[i];
            std::size_t at = i;
            for (; at >= gap && entries[at - gap].key > moving.key; at -= gap)
                entries[at] = entries[at - gap];
            entries[at] = moving;
        }
    }
}

void AddWeights(const PictureColours& picture, std::vector<Weighted>* weighted) {
    const std::size_t count = std::min<std::size_t>(picture.count, 256);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) total += picture.uses[i];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t uses = picture.uses[i];
        if (total > 0 && uses == 0) continue;
        const std::uint64_t share = total > 0 ? uses * kWholePicture / total : kWholePicture / count;
        // At least 1, so that a rare colour of a huge picture is not lost to rounding.
        weighted->push_back({Key(picture.colours[i]), share > 0 ? share : 1});
    }
}

}  // namespace

void CountColourUse(const unsigned char* bits, int bitCount, int width, int height,
                    std::size_t stride, std::uint32_t* uses, std::size_t count) {
    if (!bits || width <= 0 || height <= 0) return;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return;
    const unsigned perByte = 8u / static_cast<unsigned>(bitCount);
    const unsigned mask = (1u << bitCount) - 1;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned byte = row[static_cast<unsigned>(x) / perByte];
            const unsigned shift = 8u - static_cast<unsigned>(bitCount) * (x % perByte + 1);
            const std::size_t index = (byte >> shift) & mask;
            if (index < count) ++uses[index];
        }
    }
}

std::size_t BuildScreenPalette(const PictureColours* const* pictures, std::size_t pictureCount,
                               std::size_t limit, DibColour* out) {
    limit = std::min<std::size_t>(limit, 256);
    std::vector<Weighted> weighted;
    for (std::size_t i = 0; i < pictureCount; ++i) {
        if (pictures[i] && pictures[i]->count > 0) AddWeights(*pictures[i], &weighted);
    }
    // One entry per colour, its weights summed, in rising colour order.
    SortByColour(weighted);
    std::size_t merged = 0;
    for (std::size_t i = 0; i < weighted.size(); ++i) {
        if (merged > 0 && weighted[merged - 1].key == weighted[i].key) {
            weighted[merged - 1].weight += weighted[i].weight;
        } else {
            weighted[merged++] = weighted[i];
        }
    }
    // The heaviest `limit` of them, heaviest first; equal weights stay in
    // colour order, so the result never depends on the order of the pictures.
    Weighted kept[256];
    std::size_t keptCount = 0;
    for (std::size_t i = 0; i < merged; ++i) {
        std::size_t at = keptCount;
        while (at > 0 && kept[at - 1].weight < weighted[i].weight) --at;
        if (at >= limit) continue;
        if (keptCount < limit) ++keptCount;
        for (std::size_t j = keptCount - 1; j > at; --j) kept[j] = kept[j - 1];
        kept[at] = weighted[i];
    }
    for (std::size_t i = 0; i < keptCount; ++i) out[i] = FromKey(kept[i].key);
    return keptCount;
}
