#include "script/screen_scale.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(ScaleForDpi, NearestWholeFactor) {
    const int cases[][2] = {{96, 1},  {0, 1},   {-192, 1}, {120, 1}, {135, 1}, {136, 2},
                            {144, 2}, {192, 2}, {235, 2},  {236, 3}, {333, 4}, {480, 5},
                            {960, 5}, {2147483647, 5}};
    for (const auto& c : cases) EXPECT_EQ(ScaleForDpi(c[0]), c[1]) << c[0] << " DPI";
}

// Windows 95 to XP keep their pixels and are never asked to be DPI-aware;
// Vista and later ask before they read the DPI (the fake, like Windows,
// tells a program that has not asked 96).
TEST(ChooseScreenScale, ByVersionAndDpi) {
    const struct {
        unsigned long platform, major;
        int dpi, factor, scaleDpi, declarations;
    } cases[] = {{1, 4, 192, 1, 96, 0},  {2, 4, 192, 1, 96, 0}, {2, 5, 192, 1, 96, 0},
                 {2, 6, 96, 1, 96, 1},   {2, 6, 120, 1, 120, 1}, {2, 6, 144, 2, 144, 1},
                 {2, 10, 288, 3, 288, 1}, {2, 10, 0, 1, 96, 1},  {0, 10, 192, 1, 96, 0}};
    for (const auto& c : cases) {
        FakeMachine machine;
        machine.version.platformId = c.platform;
        machine.version.major = c.major;
        machine.dpi = c.dpi;
        const ScreenScale scale = ChooseScreenScale(machine);
        EXPECT_EQ(scale.factor * 1000 + scale.dpi, c.factor * 1000 + c.scaleDpi) << c.major << " at " << c.dpi;
        EXPECT_EQ(machine.dpiDeclarations, c.declarations) << c.major << " at " << c.dpi;
    }
}
