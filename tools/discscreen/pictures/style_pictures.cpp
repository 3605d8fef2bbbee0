#include "pictures/style_pictures.h"

#include <algorithm>

#include "pictures/bitmap_writer.h"
#include "pictures/colour_reduction.h"

std::vector<WrittenPicture> WriteWithOnePalette(std::vector<NamedPicture> pictures) {
    PicturePixels all;
    for (const NamedPicture& picture : pictures)
        all.colours.insert(all.colours.end(), picture.pixels.colours.begin(), picture.pixels.colours.end());
    all.width = static_cast<int>(all.colours.size());
    all.height = 1;
    std::vector<std::uint32_t> palette = ColoursByUse(all, kStylePaletteColours);
    if (palette.size() > kStylePaletteColours) palette = ReduceColours(all, kStylePaletteColours, false);

    std::vector<WrittenPicture> written;
    std::size_t at = 0;
    for (NamedPicture& picture : pictures) {
        std::copy_n(all.colours.begin() + at, picture.pixels.colours.size(), picture.pixels.colours.begin());
        at += picture.pixels.colours.size();
        written.push_back({picture.fileName, SmallestBitmap(picture.pixels, palette)});
    }
    return written;
}
