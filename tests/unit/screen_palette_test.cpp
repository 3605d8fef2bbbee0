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

// A picture of `count` distinct colours, each used by `uses` pixels; the
// colours start at `first` and step through red and green.
PictureColours Ramp(int first, int count, unsigned uses, int blue) {
    PictureColours picture;
    for (int i = 0; i < count; ++i) {
        picture.colours.push_back(Rgb((first + i) % 256, (first + i) / 256, blue));
        picture.uses.push_back(uses);
    }
    return picture;
}

std::set<unsigned> Keys(const std::vector<DibColour>& colours) {
    std::set<unsigned> keys;
    for (const DibColour& c : colours) keys.insert(Key(c));
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
        CountColourUse(c.bits.data(), c.bitCount, c.width, c.height, c.stride, &counts);
        EXPECT_EQ(counts, c.expected) << c.what;
    }
    std::vector<std::uint32_t> counts(4, 0);
    CountColourUse(nullptr, 8, 2, 2, 4, &counts);
    unsigned char bits[4] = {1, 1, 1, 1};
    CountColourUse(bits, 24, 1, 1, 4, &counts);
    EXPECT_EQ(counts, std::vector<std::uint32_t>(4, 0)) << "no bits or a deep picture count nothing";
}

TEST(BuildScreenPalette, PicturesThatFitKeepEveryColourOnce) {
    PictureColours background = Ramp(0, 100, 50, 0);
    PictureColours stripA = Ramp(0, 40, 3, 100);
    PictureColours stripB = Ramp(0, 40, 3, 200);
    stripB.colours.push_back(background.colours[7]);  // shared with the background
    stripB.uses.push_back(9);
    stripB.colours.push_back(Rgb(1, 2, 3));  // in the table, used by no pixel
    stripB.uses.push_back(0);
    std::vector<DibColour> palette =
        BuildScreenPalette({&background, &stripA, &stripB}, kScreenPaletteEntries);
    EXPECT_EQ(palette.size(), 180u);
    std::set<unsigned> keys = Keys(palette);
    EXPECT_EQ(keys.size(), palette.size()) << "no colour twice";
    for (const PictureColours* picture : {&background, &stripA, &stripB}) {
        for (std::size_t i = 0; i < picture->colours.size(); ++i) {
            if (picture->uses[i] == 0) continue;
            EXPECT_TRUE(keys.count(Key(picture->colours[i])));
        }
    }
    EXPECT_FALSE(keys.count(Key(Rgb(1, 2, 3)))) << "an unused entry takes no place";
}

TEST(BuildScreenPalette, TooManyColoursLeaveEachPictureItsMainOnes) {
    // A background of 250 colours on many pixels and two small strips: the
    // strips' colours cover a larger share of their own pictures, so they
    // all stay; the background gives up its rarest colours.
    PictureColours background = Ramp(0, 250, 1000, 0);
    background.uses[3] = 500000;
    PictureColours stripA = Ramp(0, 40, 10, 100);
    PictureColours stripB = Ramp(0, 40, 10, 200);
    std::vector<DibColour> palette =
        BuildScreenPalette({&background, &stripA, &stripB}, kScreenPaletteEntries);
    ASSERT_EQ(palette.size(), kScreenPaletteEntries);
    std::set<unsigned> keys = Keys(palette);
    for (const PictureColours* strip : {&stripA, &stripB})
        for (const DibColour& c : strip->colours) EXPECT_TRUE(keys.count(Key(c)));
    EXPECT_EQ(Key(palette.front()), Key(background.colours[3])) << "heaviest first";
    std::vector<DibColour> again =
        BuildScreenPalette({&background, &stripA, &stripB}, kScreenPaletteEntries);
    ASSERT_EQ(again.size(), palette.size());
    for (std::size_t i = 0; i < again.size(); ++i)
        EXPECT_EQ(Key(again[i]), Key(palette[i])) << "the same pictures give the same palette";
}

TEST(BuildScreenPalette, PicturesWithoutCountsOrColours) {
    PictureColours uncounted;
    uncounted.colours = {Rgb(9, 9, 9), Rgb(8, 8, 8)};
    uncounted.uses = {0, 0};
    PictureColours deep;  // above 8 bits: no table
    EXPECT_EQ(BuildScreenPalette({&uncounted, &deep, nullptr}, 10).size(), 2u);
    EXPECT_TRUE(BuildScreenPalette({&deep}, 10).empty());
    EXPECT_TRUE(BuildScreenPalette({}, 10).empty());
}
