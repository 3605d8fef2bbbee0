#include "pictures/png_file.h"

#include <png.h>

#include <vector>

std::string EncodePng(const PicturePixels& pixels) {
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels.colours.size() * 3);
    for (std::uint32_t colour : pixels.colours) {
        rgb.push_back(static_cast<unsigned char>(colour >> 16));
        rgb.push_back(static_cast<unsigned char>(colour >> 8));
        rgb.push_back(static_cast<unsigned char>(colour));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.width);
    image.height = static_cast<png_uint_32>(pixels.height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr)) return "";
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) return "";
    png.resize(size);
    return png;
}
