#include "script/screen_scale.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(ScaleForDpi, NearestWholeFactor) {
    struct Case {
        int dpi, scale;
    } cases[] = {
        {96, 1},  {72, 1},  {0, 1},   {-192, 1}, {120, 1}, {135, 1}, {136, 2}, {144, 2},
        {168, 2}, {192, 2}, {235, 2}, {236, 3},  {288, 3}, {332, 3}, {333, 4}, {384, 4},
        {429, 4}, {430, 5}, {480, 5}, {960, 5},  {2147483647, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.dpi), c.scale) << c.dpi << " DPI";
}

// Windows 95 to XP keep their pixels at any DPI and are never told about
// DPI awareness; Vista and later declare it before they read the DPI (the
// fake tells an undeclared program 96, as Windows does).
TEST(ChooseScreenScale, ByVersionAndDpi) {
    struct Case {
        unsigned long platform, major, minor;
        int dpi, factor, scaleDpi, declarations;
    } cases[] = {
        {1, 4, 0, 192, 1, 96, 0},   {1, 4, 90, 192, 1, 96, 0},  {2, 4, 0, 192, 1, 96, 0},
        {2, 5, 1, 192, 1, 96, 0},   {2, 5, 2, 288, 1, 96, 0},   {2, 6, 0, 96, 1, 96, 1},
        {2, 6, 1, 144, 2, 144, 1},  {2, 6, 1, 120, 1, 120, 1},  {2, 10, 0, 192, 2, 192, 1},
        {2, 10, 0, 288, 3, 288, 1}, {0, 10, 0, 192, 1, 96, 0},  {2, 10, 0, 0, 1, 96, 1},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.version.platformId = c.platform;
        machine.version.major = c.major;
        machine.version.minor = c.minor;
        machine.dpi = c.dpi;
        const ScreenScale scale = ChooseScreenScale(machine);
        EXPECT_EQ(scale.factor, c.factor) << c.major << "." << c.minor << " " << c.dpi;
        EXPECT_EQ(scale.dpi, c.scaleDpi) << c.major << "." << c.minor << " " << c.dpi;
        EXPECT_EQ(machine.dpiDeclarations, c.declarations) << c.major << "." << c.minor;
    }
}

// The stock fonts come at the display's DPI: at the screen's factor they
// keep their 96-DPI size times the factor, and nothing changes at 96 DPI.
TEST(StockFontLength, NinetySixDpiSizeTimesFactor) {
    struct Case {
        int length, factor, dpi, scaled;
    } cases[] = {
        {-11, 1, 96, -11}, {16, 1, 96, 16},  {-22, 2, 192, -22}, {-16, 2, 144, -21},
        {24, 2, 144, 32},  {-13, 1, 120, -10}, {0, 2, 192, 0},   {2147483647, 2, 96, 22369621},
    };
    for (const Case& c : cases) {
        ScreenScale scale;
        scale.factor = c.factor;
        scale.dpi = c.dpi;
        EXPECT_EQ(StockFontLength(c.length, scale), c.scaled) << c.length << " at " << c.dpi;
    }
}

TEST(Scaled, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Scaled(300, 2), 600);
    EXPECT_EQ(Scaled(-1, 2), -2);
    EXPECT_EQ(Scaled(2000000000, 2), 2147483647);
    EXPECT_EQ(Scaled(-2000000000, 3), -2147483647 - 1);
    EXPECT_EQ(ParseScaledInteger(" 45,", 3), 135);
}
