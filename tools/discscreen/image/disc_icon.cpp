#include "image/disc_icon.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "pictures/icon_writer.h"
#include "pictures/picture_pixels.h"

namespace {

const int kIconSizes[] = {32, 16};
constexpr std::uint32_t kPlainColour = 0x1F4E79, kPlainFrame = 0xDCE6F0;

// The middle square of the picture at `size` pixels, each the average of the
// pixels it covers.
PicturePixels SquarePicture(const PicturePixels& picture, int size) {
    int side = std::min(picture.width, picture.height);
    int left = (picture.width - side) / 2, top = (picture.height - side) / 2;
    PicturePixels square;
    square.width = square.height = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int x0 = left + x * side / size, x1 = std::max(x0 + 1, left + (x + 1) * side / size);
            int y0 = top + y * side / size, y1 = std::max(y0 + 1, top + (y + 1) * side / size);
            unsigned long sum[3] = {}, count = 0;
            for (int v = y0; v < y1; ++v) {
                for (int u = x0; u < x1; ++u, ++count) {
                    std::uint32_t colour = picture.colours[v * picture.width + u];
                    for (int c = 0; c < 3; ++c) sum[c] += (colour >> (16 - 8 * c)) & 0xFF;
                }
            }
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) colour |= static_cast<std::uint32_t>(sum[c] / count) << (16 - 8 * c);
            square.colours.push_back(colour);
        }
    }
    return square;
}

PicturePixels PlainPicture(int size) {
    PicturePixels plain;
    plain.width = plain.height = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            bool frame = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            plain.colours.push_back(frame ? kPlainFrame : kPlainColour);
        }
    }
    return plain;
}

}  // namespace

std::vector<unsigned char> MakeDiscIcon(const std::string& picturePath) {
    std::vector<unsigned char> bytes;
    if (!picturePath.empty()) {
        std::ifstream in(picturePath, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return DiscIconOf(bytes);
}

std::vector<unsigned char> DiscIconOf(const std::vector<unsigned char>& pictureFile) {
    PicturePixels picture;
    std::string why;
    const bool decoded = !pictureFile.empty() && DecodePicture(pictureFile, &picture, &why) &&
                         picture.width > 0 && picture.height > 0;
    std::vector<PicturePixels> images;
    for (int size : kIconSizes) images.push_back(decoded ? SquarePicture(picture, size) : PlainPicture(size));
    return WriteIconFile(images);
}
