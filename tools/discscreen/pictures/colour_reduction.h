#pragma once
// Reduces a picture to at most N colours: a palette by median cut over the
// picture's colours (each weighted by its pixels), every pixel then the
// nearest palette colour, or with Floyd-Steinberg error diffusion.
#include <cstdint>
#include <vector>

#include "pictures/picture_pixels.h"

struct ReductionError {
    double rms = 0;  // root mean square over every channel of every pixel, 0 to 255
    int largest = 0; // the largest difference in one channel
};

// Changes `pixels` in place and returns the palette that they now use.
std::vector<std::uint32_t> ReduceColours(PicturePixels& pixels, std::size_t count, bool dither);

ReductionError CompareColours(const PicturePixels& before, const PicturePixels& after);
