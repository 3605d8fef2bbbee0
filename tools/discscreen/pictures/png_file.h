#pragma once
// Pictures as PNG files, for a browser.
#include <string>

#include "pictures/picture_pixels.h"

// The pixels as PNG bytes; empty when they cannot be written.
std::string EncodePng(const PicturePixels& pixels);
