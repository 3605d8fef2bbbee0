#pragma once
// An icon file (.ico) of pictures, each image with 256 colours at most (8
// bits a pixel, its own palette, every pixel opaque): the kind of icon that
// every Windows from 95 on shows.
#include <vector>

#include "pictures/picture_pixels.h"

// Each picture at most 256 by 256; more colours than 256 are reduced.
std::vector<unsigned char> WriteIconFile(const std::vector<PicturePixels>& pictures);
