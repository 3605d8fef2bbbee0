#include "ui/text_block.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(EstimateTextBlock, LinesAndWidths) {
    // Measured as one run: every byte counts, line breaks included, so the
    // average width is extent / length.
    struct Case {
        const char* what;
        std::string text;
        int extentWidth, extentHeight, maxWidth, maxHeight;
        int width, height;
    } cases[] = {
        {"empty", "", 100, 13, 300, 50, 0, 0},
        {"no room", "Installing", 60, 13, 0, 50, 0, 0},
        {"negative room", "Installing", 60, 13, -5, 50, 0, 0},
        {"one short line", "Installing", 60, 13, 300, 50, 60, 13},
        {"two lines, longer wins", "Setup\r\nPlease wait", 108, 13, 300, 50, 6 * 11, 26},
        {"trailing break adds no line", "Setup\r\n", 42, 13, 300, 50, 30, 13},
        {"empty line in between", "A\r\n\r\nB", 48, 13, 300, 50, 8, 39},
        {"lone LF stays in its line", "AB\nCD", 50, 13, 300, 50, 50, 13},
        {"long line wraps", std::string(100, 'x'), 600, 13, 300, 50, 300, 39},
        {"height capped", std::string(200, 'x'), 1200, 13, 300, 50, 300, 50},
        {"exact fit wraps once more", std::string(50, 'x'), 300, 13, 300, 50, 300, 26},
        {"zero extent", "Hello", 0, 0, 300, 50, 0, 0},
    };
    for (const Case& c : cases) {
        BlockSize size =
            EstimateTextBlock(c.text, c.extentWidth, c.extentHeight, c.maxWidth, c.maxHeight);
        EXPECT_EQ(size.width, c.width) << c.what;
        EXPECT_EQ(size.height, c.height) << c.what;
    }
}

TEST(EstimateTextBlock, ManyLinesDoNotOverflow) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "\r\n";
    BlockSize size = EstimateTextBlock(text, INT_MAX, INT_MAX, 300, 50);
    EXPECT_EQ(size.height, 50);
    EXPECT_GE(size.width, 0);
    size = EstimateTextBlock("x", INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(size.width, INT_MAX);
    EXPECT_EQ(size.height, INT_MAX);
}
