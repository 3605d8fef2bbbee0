#pragma once
// One palette for the whole screen, made from the colour tables of all its
// pictures. A 256-colour display shows only the colours of the palette that
// is realized; with one palette that holds every picture's colours (or, when
// they are too many, the ones that matter most to each picture), every
// picture keeps its own colours as closely as the display allows.
#include <cstddef>
#include <cstdint>

#include "ui/dib_file.h"

// The colour table of one picture of up to 8 bits per pixel, with how many
// of its pixels use each entry.
struct PictureColours {
    std::size_t count = 0;
    DibColour colours[256];
    std::uint32_t uses[256] = {};
};

// Entries a palette can give a picture on a 256-colour display: the system
// keeps 20 colours of its own.
constexpr std::size_t kScreenPaletteEntries = 236;

// Adds, for each palette index, the pixels of a bottom-up picture of
// `height` rows of `stride` bytes at 1, 4 or 8 bits per pixel that use it to
// uses[index]. Indices at or beyond `count` are not counted.
void CountColourUse(const unsigned char* bits, int bitCount, int width, int height,
                    std::size_t stride, std::uint32_t* uses, std::size_t count);

// The screen's palette, written to `out` (room for `limit`, at most 256);
// returns its length. Every distinct colour that some picture uses, when
// there are at most `limit`; otherwise the `limit` colours of the greatest
// weight, where each picture gives its colours weights in proportion to the
// share of its pixels they cover (so a small button strip is not crowded
// out by a large background). Heaviest first. Entries no pixel uses count
// only for a picture whose pixels were not counted at all.
std::size_t BuildScreenPalette(const PictureColours* const* pictures, std::size_t pictureCount,
                               std::size_t limit, DibColour* out);
