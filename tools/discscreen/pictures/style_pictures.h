#pragma once
// A style's pictures for one screen, written as the program reads them on
// every Windows: 8-bit bitmaps, run-length encoded where that is smaller,
// all with the same palette of at most 236 colours, so that a 256-colour
// display (which keeps 20 colours for itself) shows each as drawn and a
// change of picture never changes the others' colours.
#include <string>
#include <vector>

#include "pictures/picture_pixels.h"

constexpr std::size_t kStylePaletteColours = 236;

struct NamedPicture {
    std::string fileName;  // "BACK.BMP"
    PicturePixels pixels;
};

struct WrittenPicture {
    std::string fileName;
    std::vector<unsigned char> bytes;
};

// The pictures' colours reduced together to one palette (nearest colour, no
// dithering, so a row of one colour stays one colour), each then written.
std::vector<WrittenPicture> WriteWithOnePalette(std::vector<NamedPicture> pictures);
