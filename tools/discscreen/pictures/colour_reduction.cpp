#include "pictures/colour_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace {

int Channel(std::uint32_t colour, int channel) { return (colour >> (16 - 8 * channel)) & 0xFF; }

std::uint32_t Colour(int red, int green, int blue) {
    auto clamp = [](int value) { return static_cast<std::uint32_t>(std::min(255, std::max(0, value))); };
    return clamp(red) << 16 | clamp(green) << 8 | clamp(blue);
}

struct Weighted {
    std::uint32_t colour;
    std::uint32_t pixels;
};

// A box of colours; `begin` and `end` index the shared list.
struct Box {
    std::size_t begin, end;
    int widestChannel = 0;
    int width = 0;
    std::uint64_t pixels = 0;
};

Box Measure(const std::vector<Weighted>& colours, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    std::array<int, 3> low = {255, 255, 255}, high = {0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
        box.pixels += colours[i].pixels;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], Channel(colours[i].colour, c));
            high[c] = std::max(high[c], Channel(colours[i].colour, c));
        }
    }
    for (int c = 0; c < 3; ++c) {
        if (high[c] - low[c] > box.width) {
            box.width = high[c] - low[c];
            box.widestChannel = c;
        }
    }
    return box;
}

std::vector<std::uint32_t> MedianCut(const PicturePixels& pixels, std::size_t count) {
    std::unordered_map<std::uint32_t, std::uint32_t> uses;
    for (std::uint32_t colour : pixels.colours) ++uses[colour];
    std::vector<Weighted> colours;
    for (const auto& entry : uses) colours.push_back({entry.first, entry.second});
    std::sort(colours.begin(), colours.end(), [](const Weighted& a, const Weighted& b) { return a.colour < b.colour; });

    std::vector<Box> boxes = {Measure(colours, 0, colours.size())};
    while (boxes.size() < count) {
        // The box that spreads furthest, weighted by the pixels it covers.
        std::size_t chosen = boxes.size();
        double score = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            double mine = static_cast<double>(boxes[i].width) * std::sqrt(static_cast<double>(boxes[i].pixels));
            if (boxes[i].end - boxes[i].begin > 1 && mine > score) {
                score = mine;
                chosen = i;
            }
        }
        if (chosen == boxes.size()) break;
        Box box = boxes[chosen];
        const int c = box.widestChannel;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [c](const Weighted& a, const Weighted& b) { return Channel(a.colour, c) < Channel(b.colour, c); });
        // The weighted median, keeping a colour on each side.
        std::uint64_t seen = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            seen += colours[i].pixels;
            split = i + 1;
            if (seen * 2 >= box.pixels) break;
        }
        boxes[chosen] = Measure(colours, box.begin, split);
        boxes.push_back(Measure(colours, split, box.end));
    }

    std::vector<std::uint32_t> palette;
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c) sum[c] += static_cast<std::uint64_t>(Channel(colours[i].colour, c)) * colours[i].pixels;
        }
        const std::uint64_t half = box.pixels / 2;
        palette.push_back(Colour(static_cast<int>((sum[0] + half) / box.pixels),
                                 static_cast<int>((sum[1] + half) / box.pixels),
                                 static_cast<int>((sum[2] + half) / box.pixels)));
    }
    return palette;
}

std::size_t Nearest(const std::vector<std::uint32_t>& palette, int red, int green, int blue) {
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long dr = red - Channel(palette[i], 0), dg = green - Channel(palette[i], 1), db = blue - Channel(palette[i], 2);
        long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void MapToNearest(PicturePixels& pixels, const std::vector<std::uint32_t>& palette) {
    std::unordered_map<std::uint32_t, std::uint32_t> mapped;
    for (std::uint32_t& colour : pixels.colours) {
        auto found = mapped.find(colour);
        if (found == mapped.end())
            found = mapped.emplace(colour, palette[Nearest(palette, Channel(colour, 0), Channel(colour, 1),
                                                           Channel(colour, 2))]).first;
        colour = found->second;
    }
}

// Floyd-Steinberg, left to right on every row.
void Diffuse(PicturePixels& pixels, const std::vector<std::uint32_t>& palette) {
    const int width = pixels.width;
    std::vector<std::array<int, 3>> error(static_cast<std::size_t>(width + 2) * 2, {0, 0, 0});
    for (int y = 0; y < pixels.height; ++y) {
        std::array<int, 3>* here = &error[(y & 1) * (width + 2) + 1];
        std::array<int, 3>* below = &error[((y + 1) & 1) * (width + 2) + 1];
        for (int x = -1; x <= width; ++x) below[x] = {0, 0, 0};
        for (int x = 0; x < width; ++x) {
            std::uint32_t& colour = pixels.colours[static_cast<std::size_t>(y) * width + x];
            int wanted[3];
            for (int c = 0; c < 3; ++c)
                wanted[c] = std::min(255, std::max(0, Channel(colour, c) + here[x][c] / 16));
            colour = palette[Nearest(palette, wanted[0], wanted[1], wanted[2])];
            for (int c = 0; c < 3; ++c) {
                int off = wanted[c] - Channel(colour, c);
                if (x + 1 < width) here[x + 1][c] += off * 7;
                below[x - 1][c] += off * 3;
                below[x][c] += off * 5;
                below[x + 1][c] += off;
            }
        }
    }
}

}  // namespace

std::vector<std::uint32_t> ReduceColours(PicturePixels& pixels, std::size_t count, bool dither) {
    std::vector<std::uint32_t> palette = MedianCut(pixels, count);
    if (dither) {
        Diffuse(pixels, palette);
    } else {
        MapToNearest(pixels, palette);
    }
    // Only the colours that pixels now use, so that the table is no larger.
    return ColoursByUse(pixels, 256);
}

ReductionError CompareColours(const PicturePixels& before, const PicturePixels& after) {
    ReductionError result;
    double sum = 0;
    for (std::size_t i = 0; i < before.colours.size() && i < after.colours.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            int off = std::abs(Channel(before.colours[i], c) - Channel(after.colours[i], c));
            sum += static_cast<double>(off) * off;
            result.largest = std::max(result.largest, off);
        }
    }
    if (!before.colours.empty()) result.rms = std::sqrt(sum / (3.0 * before.colours.size()));
    return result;
}
