#include "script/windows_version.h"

#include <gtest/gtest.h>

TEST(ClassifyWindowsVersion, Codes) {
    struct Case {
        unsigned long platform, major, minor, build;
        unsigned short code;
    } cases[] = {
        {1, 4, 0, 0x040003B6, 1},  {1, 4, 10, 0x040A07CE, 2}, {1, 4, 10, 0x040A08AD, 2},
        {1, 4, 10, 0x040A08AE, 3}, {1, 4, 89, 0x04590000, 3}, {1, 4, 90, 0x045A0BB8, 4},
        {2, 3, 51, 1057, 5},       {2, 4, 0, 1381, 5},        {2, 5, 0, 2195, 6},
        {2, 5, 1, 2600, 6},        {2, 6, 1, 7601, 0},        {2, 10, 0, 19045, 0},
        {0, 3, 10, 0, 0},          {3, 5, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWindowsVersion(c.platform, c.major, c.minor, c.build), c.code)
            << c.platform << " " << c.major << "." << c.minor << " " << c.build;
}
