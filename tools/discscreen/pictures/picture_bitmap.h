#pragma once
// Pixels as the smallest bitmap the program reads: exact with at most 256
// colours (or `colours`), else reduced to `colours` when that is given,
// else 24 bits a pixel.
#include <string>
#include <vector>

#include "pictures/picture_pixels.h"

// `how` says which it became, and how far the colours are off.
std::vector<unsigned char> ProgramBitmap(PicturePixels pixels, std::size_t colours, bool dither, std::string* how);
