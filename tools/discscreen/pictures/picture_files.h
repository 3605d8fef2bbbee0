#pragma once
// Pictures in the formats authors have: PNG, JPEG, GIF and the bitmaps the
// program reads, each decoded by its own library into plain pixels. What a
// picture lets show through (PNG's alpha, GIF's transparent colour) is laid
// over a matte colour, since the program draws every picture opaque.
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture_pixels.h"

constexpr std::uint32_t kWhiteMatte = 0xFFFFFF;

// The format that the file's first bytes name: "PNG", "JPEG", "GIF", "BMP",
// or "" for none of them.
std::string PictureFormat(const std::vector<unsigned char>& file);

// False, with why, when the file is no picture of these formats or its
// library refuses it.
bool DecodePictureFile(const std::vector<unsigned char>& file, std::uint32_t matte, PicturePixels* pixels,
                       std::string* why);

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes);
