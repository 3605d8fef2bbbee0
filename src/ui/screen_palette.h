#pragma once
// One palette for the whole screen, made from the colour tables of all its
// pictures. A 256-colour display shows only the colours of the palette that
// is realized; with one palette that holds every picture's colours (or, when
// they are too many, the ones that matter most to each picture), every
// picture keeps its own colours as closely as the display allows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/dib_file.h"

// The colour table of one picture of up to 8 bits per pixel, with how many
// of its pixels use each entry.
struct PictureColours {
    std::vector<DibColour> colours;
    std::vector<std::uint32_t> uses;  // one count per colour
};

// Entries a palette can give a picture on a 256-colour display: the system
// keeps 20 colours of its own.
constexpr std::size_t kScreenPaletteEntries = 236;

// Counts, for each palette index, the pixels of a bottom-up picture of
// `height` rows of `stride` bytes at 1, 4 or 8 bits per pixel that use it.
// Counts for indices at or beyond counts.size() are dropped.
void CountColourUse(const unsigned char* bits, int bitCount, int width, int height,
                    std::size_t stride, std::vector<std::uint32_t>* counts);

// The screen's palette: every distinct colour that some picture uses, when
// there are at most `limit`; otherwise the `limit` colours of the greatest
// weight, where each picture gives its colours weights in proportion to the
// share of its pixels they cover (so a small button strip is not crowded
// out by a large background). Heaviest first; entries nobody uses count
// only for a picture whose pixels were not counted at all.
std::vector<DibColour> BuildScreenPalette(const std::vector<const PictureColours*>& pictures,
                                          std::size_t limit);
