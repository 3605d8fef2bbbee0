#include "script/text_trim.h"

#include <gtest/gtest.h>

TEST(Blanks, NarrowWhiteSet) {
    EXPECT_EQ(SkipLeadingBlanks(nullptr), nullptr);
    EXPECT_STREQ(SkipLeadingBlanks(" \t\r\n\vx"), "\vx");
    char text[] = "name \t\r\n";
    EXPECT_STREQ(CutTrailingBlanks(text), "name");
    char blank[] = " \t ";
    EXPECT_STREQ(CutTrailingBlanks(blank), "");
    EXPECT_EQ(CutTrailingBlanks(nullptr), nullptr);
}

TEST(Trimmed, WiderWhiteSetAtBothEnds) {
    EXPECT_EQ(Trimmed("  Mixed Case "), "Mixed Case");
}
