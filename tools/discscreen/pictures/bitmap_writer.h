#pragma once
// Writes pixels of at most 256 colours as the smallest bitmap file that the
// program loads on every Windows: a 40-byte header, a full colour table of
// 1, 4 or 8 bits per pixel, the pixel bits plain or run-length encoded
// (RLE4, RLE8), whichever is smallest.
#include <cstdint>
#include <vector>

#include "pictures/picture_pixels.h"

// `palette` holds every colour of the pixels (at most 256), in the order
// the table gets them. Empty when a colour is missing from the palette.
std::vector<unsigned char> SmallestBitmap(const PicturePixels& pixels, const std::vector<std::uint32_t>& palette);

// Pixels of any number of colours as a plain 24-bit bitmap.
std::vector<unsigned char> TrueColourBitmap(const PicturePixels& pixels);

// The pixel bits of rows of palette indices (the bottom row first), run-length
// encoded, with an end of line after each row and an end of picture last.
std::vector<unsigned char> EncodeRle8(const std::vector<std::vector<unsigned char>>& rows);
std::vector<unsigned char> EncodeRle4(const std::vector<std::vector<unsigned char>>& rows);
