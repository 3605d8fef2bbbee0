#include "script/random_numbers.h"

#include <gtest/gtest.h>

#include <set>

TEST(RandomNumbers, FirstDrawFollowsTheSeed) {
    struct Case {
        unsigned long seed;
        int first;
    } cases[] = {
        {0, 38},
        {1, 41},
        {0xFFFFFFFFul, 35},  // the arithmetic wraps at 32 bits on every build
        {1700000000ul, 28462},
    };
    for (const Case& c : cases) EXPECT_EQ(RandomNumbers(c.seed).Next(), c.first) << c.seed;
}

TEST(RandomNumbers, DrawsCoverTheRange) {
    RandomNumbers numbers(12345);
    std::set<int> seen;
    for (int i = 0; i < 100000; ++i) {
        int n = numbers.Next();
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 32767);
        seen.insert(n);
    }
    EXPECT_GT(seen.size(), 30000u);
}
