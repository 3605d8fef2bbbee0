#include "ui/screen_palette.h"

#include <algorithm>
#include <map>

namespace {

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

void AddWeights(const PictureColours& picture, std::map<std::uint32_t, double>* weights) {
    const std::size_t count = picture.colours.size();
    double total = 0;
    for (std::size_t i = 0; i < count && i < picture.uses.size(); ++i) total += picture.uses[i];
    for (std::size_t i = 0; i < count; ++i) {
        const double uses = i < picture.uses.size() ? picture.uses[i] : 0;
        if (total > 0 && uses == 0) continue;
        (*weights)[Key(picture.colours[i])] += total > 0 ? uses / total : 1.0 / count;
    }
}

}  // namespace

void CountColourUse(const unsigned char* bits, int bitCount, int width, int height,
                    std::size_t stride, std::vector<std::uint32_t>* counts) {
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
            if (index < counts->size()) ++(*counts)[index];
        }
    }
}

std::vector<DibColour> BuildScreenPalette(const std::vector<const PictureColours*>& pictures,
                                          std::size_t limit) {
    std::map<std::uint32_t, double> weights;
    for (const PictureColours* picture : pictures) {
        if (picture && !picture->colours.empty()) AddWeights(*picture, &weights);
    }
    std::vector<std::pair<double, std::uint32_t>> ranked;
    ranked.reserve(weights.size());
    for (const auto& entry : weights) ranked.push_back({entry.second, entry.first});
    // Heaviest first; equal weights in colour order, so the result never
    // depends on how the map happened to be filled.
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (ranked.size() > limit) ranked.resize(limit);
    std::vector<DibColour> palette;
    palette.reserve(ranked.size());
    for (const auto& entry : ranked) palette.push_back(FromKey(entry.second));
    return palette;
}
