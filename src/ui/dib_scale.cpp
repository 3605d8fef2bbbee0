#include "ui/dib_scale.h"

// The layout's sides are at most kDibMaxDimension, so that the sides and a
// row at a factor up to kMaxDibScale fit in 32 bits.
bool ScaledDibLayout(const DibLayout& layout, int scale, DibLayout* scaled) {
    if (scale < 1 || scale > kMaxDibScale) return false;
    const std::uint32_t width = static_cast<std::uint32_t>(layout.width) * scale;
    const std::uint32_t height = static_cast<std::uint32_t>(layout.height) * scale;
    const std::uint32_t stride = (width * layout.bitCount + 31) / 32 * 4;
    if (height > kDibMaxImageBytes / stride) return false;
    *scaled = layout;
    scaled->width = static_cast<int>(width);
    scaled->height = static_cast<int>(height);
    scaled->stride = stride;
    scaled->imageSize = stride * height;
    return true;
}
