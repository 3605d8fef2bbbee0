#pragma once
// The size of a picture drawn a whole number of times larger, each pixel
// repeated across and down (nearest neighbour), so that pixel art stays as
// sharp as in the file.
#include "ui/dib_file.h"

// The layout of the picture at `scale` (1 to kMaxDibScale): false, and
// `scaled` untouched, when it would hold more than kDibMaxImageBytes of
// pixels or the scale is out of range.
constexpr int kMaxDibScale = 8;
bool ScaledDibLayout(const DibLayout& layout, int scale, DibLayout* scaled);
