#include "pictures/picture_bitmap.h"

#include "pictures/bitmap_writer.h"
#include "pictures/colour_reduction.h"

namespace {

constexpr std::size_t kTableColours = 256;

}  // namespace

std::vector<unsigned char> ProgramBitmap(PicturePixels pixels, std::size_t colours, bool dither, std::string* how) {
    std::size_t most = colours ? colours : kTableColours;
    std::vector<std::uint32_t> palette = ColoursByUse(pixels, most);
    if (palette.size() <= most) {
        *how = std::to_string(palette.size()) + " colours, every pixel exact";
        return SmallestBitmap(pixels, palette);
    }
    if (colours == 0) {
        *how = "more than 256 colours, so 24 bits a pixel (--colours 256 makes it 8-bit)";
        return TrueColourBitmap(pixels);
    }
    PicturePixels before = pixels;
    palette = ReduceColours(pixels, colours, dither);
    ReductionError error = CompareColours(before, pixels);
    *how = std::to_string(palette.size()) + " colours" + (dither ? ", dithered" : "") +
           ", off by " + std::to_string(static_cast<int>(error.rms + 0.5)) + " on average";
    return SmallestBitmap(pixels, palette);
}

