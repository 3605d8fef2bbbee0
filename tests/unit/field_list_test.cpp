#include "script/field_list.h"

#include <gtest/gtest.h>

TEST(SplitFields, LikeStrtok) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitFields("a,,b,"), (V{"a", "b"}));
    EXPECT_EQ(SplitFields(",a, ,b"), (V{"a", " ", "b"}));
    EXPECT_EQ(SplitFields(""), V{});
    EXPECT_EQ(SplitFields(",,,"), V{});
}
