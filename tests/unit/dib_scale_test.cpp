#include "ui/dib_scale.h"

#include <gtest/gtest.h>

// Rows stay padded to 4 bytes at the new width; a picture whose pixels
// would pass the limit, or a factor out of range, is refused and the
// layout left alone.
TEST(ScaledDibLayout, SizesAndLimits) {
    struct Case {
        int width, height, bitCount, scale;
        bool accepted;
        int scaledWidth, scaledHeight;
        std::size_t stride;
    } cases[] = {
        {400, 300, 24, 2, true, 800, 600, 2400},  {3, 2, 1, 2, true, 6, 4, 4},
        {5, 1, 4, 3, true, 15, 3, 8},             {33, 7, 8, 5, true, 165, 35, 168},
        {10, 10, 32, 1, true, 10, 10, 40},        {10, 10, 24, 0, false, 0, 0, 0},
        {10, 10, 24, 9, false, 0, 0, 0},          {32767, 32767, 32, 2, false, 0, 0, 0},
        {4096, 4096, 32, 1, true, 4096, 4096, 16384}, {4096, 4096, 32, 2, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        DibLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.bitCount = c.bitCount;
        DibLayout scaled;
        scaled.width = -7;
        EXPECT_EQ(ScaledDibLayout(layout, c.scale, &scaled), c.accepted) << c.width << " x" << c.scale;
        if (!c.accepted) {
            EXPECT_EQ(scaled.width, -7);
            continue;
        }
        EXPECT_EQ(scaled.width, c.scaledWidth);
        EXPECT_EQ(scaled.height, c.scaledHeight);
        EXPECT_EQ(scaled.stride, c.stride);
        EXPECT_EQ(scaled.imageSize, c.stride * c.scaledHeight);
        EXPECT_EQ(scaled.bitCount, c.bitCount);
    }
}
