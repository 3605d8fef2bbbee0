#pragma once
// A picture file's pixels as the program shows them: the file is read with
// the program's own bitmap parser and decoder, and each pixel becomes the
// colour it stands for.
#include <cstdint>
#include <string>
#include <vector>

struct PicturePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colours;  // 0xRRGGBB, the top row first
    int bitCount = 0;                    // of the file
    unsigned char pixelsPerMetre[8] = {};
};

// False, with why, when the program would refuse the file. Bit fields are
// drawn as their colour masks say.
bool DecodePicture(std::vector<unsigned char> file, PicturePixels* pixels, std::string* why);

// The distinct colours, the most used first (ties by colour); stops counting
// past `limit` colours and then returns limit + 1 of them.
std::vector<std::uint32_t> ColoursByUse(const PicturePixels& pixels, std::size_t limit);
