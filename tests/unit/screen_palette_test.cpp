#include "ui/screen_palette.h"

#include <gtest/gtest.h>

#include <set>

namespace {
DibColour Rgb(int r, int g, int b) {
    DibColour c;
    c.red = static_cast<unsigned char>(r);
    c.green = static_cast<unsigned char>(g);
    c.blue = static_cast<unsigned char>(b);
    return c;
}
unsigned Key(const DibColour& c) { return (c.red << 16) | (c.green << 8) | c.blue; }

// A picture of `count` distinct colours, each used by `uses` pixels.
PictureColours Ramp(int count, std::uint32_t uses, int blue) {
    PictureColours picture;
    for (int i = 0; i < count; ++i) {
        picture.colours[i] = Rgb(i, 255 - i, blue);
        picture.uses[i] = uses;
    }
    picture.count = static_cast<std::size_t>(count);
    return picture;
}

void Add(PictureColours* picture, DibColour colour, std::uint32_t uses) {
    picture->colours[picture->count] = colour;
    picture->uses[picture->count++] = uses;
}

std::vector<unsigned> Build(const std::vector<const PictureColours*>& pictures, std::size_t limit) {
    DibColour out[256];
    std::size_t count = BuildScreenPalette(pictures.data(), pictures.size(), limit, out);
    std::vector<unsigned> keys;
    for (std::size_t i = 0; i < count; ++i) keys.push_back(Key(out[i]));
    return keys;
}
}  // namespace

TEST(CountColourUse, EveryDepthReadsItsPixels) {
    struct Case {
        const char* what;
        int bitCount, width, height;
        std::vector<unsigned char> bits;
        std::size_t stride;
        std::vector<std::uint32_t> expected;
    } cases[] = {
        {"1 bit, one row of 10", 1, 10, 1, {0xA0, 0xC0, 0, 0}, 4, {6, 4}},
        {"4 bits, odd width", 4, 3, 2, {0x12, 0x30, 0, 0, 0x11, 0x1F, 0, 0}, 4,
         {0, 4, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"8 bits, padding not read", 8, 2, 2, {5, 7, 9, 9, 5, 5, 1, 1}, 4,
         {0, 0, 0, 0, 0, 3, 0, 1, 0, 0}},
        {"index beyond the table dropped", 8, 2, 1, {1, 200, 0, 0}, 4, {0, 1}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> counts(c.expected.size(), 0);
        CountColourUse(c.bits.data(), c.bitCount, c.width, c.height, c.stride, counts.data(),
                       counts.size());
        EXPECT_EQ(counts, c.expected) << c.what;
    }
    std::uint32_t counts[4] = {};
    CountColourUse(nullptr, 8, 2, 2, 4, counts, 4);
    unsigned char bits[4] = {1, 1, 1, 1};
    CountColourUse(bits, 24, 1, 1, 4, counts, 4);
    for (std::uint32_t n : counts) EXPECT_EQ(n, 0u) << "no bits or a deep picture count nothing";
}

TEST(BuildScreenPalette, PicturesThatFitKeepEveryColourOnce) {
    PictureColours background = Ramp(100, 50, 0);
    PictureColours stripA = Ramp(40, 3, 100);
    PictureColours stripB = Ramp(40, 3, 200);
    Add(&stripB, background.colours[7], 9);  // shared with the background
    Add(&stripB, Rgb(1, 2, 3), 0);           // in the table, used by no pixel
    std::vector<unsigned> palette = Build({&background, &stripA, &stripB}, kScreenPaletteEntries);
    EXPECT_EQ(palette.size(), 180u);
    std::set<unsigned> keys(palette.begin(), palette.end());
    EXPECT_EQ(keys.size(), palette.size()) << "no colour twice";
    for (const PictureColours* picture : {&background, &stripA, &stripB}) {
        for (std::size_t i = 0; i < picture->count; ++i) {
            if (picture->uses[i] > 0) EXPECT_TRUE(keys.count(Key(picture->colours[i])));
        }
    }
    EXPECT_FALSE(keys.count(Key(Rgb(1, 2, 3)))) << "an unused entry takes no place";
}

TEST(BuildScreenPalette, TooManyColoursLeaveEachPictureItsMainOnes) {
    // A background of 250 colours on many pixels and two small strips: the
    // strips' colours cover a larger share of their own pictures, so they
    // all stay; the background gives up its rarest colours.
    PictureColours background = Ramp(250, 1000, 0);
    background.uses[3] = 500000;
    PictureColours stripA = Ramp(40, 10, 100);
    PictureColours stripB = Ramp(40, 10, 200);
    std::vector<unsigned> palette = Build({&background, &stripA, &stripB}, kScreenPaletteEntries);
    ASSERT_EQ(palette.size(), kScreenPaletteEntries);
    std::set<unsigned> keys(palette.begin(), palette.end());
    for (const PictureColours* strip : {&stripA, &stripB})
        for (std::size_t i = 0; i < strip->count; ++i) EXPECT_TRUE(keys.count(Key(strip->colours[i])));
    EXPECT_EQ(palette.front(), Key(background.colours[3])) << "heaviest first";
    EXPECT_EQ(palette, Build({&stripB, &background, &stripA}, kScreenPaletteEntries))
        << "the order of the pictures does not matter";
    EXPECT_EQ(Build({&background}, 300).size(), 250u) << "never more than 256 entries asked for";
}

TEST(BuildScreenPalette, PicturesWithoutCountsOrColours) {
    PictureColours uncounted;
    Add(&uncounted, Rgb(9, 9, 9), 0);
    Add(&uncounted, Rgb(8, 8, 8), 0);
    PictureColours deep;  // above 8 bits: no table
    EXPECT_EQ(Build({&uncounted, &deep, nullptr}, 10).size(), 2u);
    EXPECT_TRUE(Build({&deep}, 10).empty());
    EXPECT_TRUE(Build({}, 10).empty());
}
