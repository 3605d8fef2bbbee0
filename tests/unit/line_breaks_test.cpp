#include "script/line_breaks.h"

#include <gtest/gtest.h>

TEST(DecodeLineBreaks, EscapesAndCounts) {
    struct Case {
        const char* text;
        const char* decoded;
        int lines;
        int longest;
    } cases[] = {
        {"", "", 0, 0},
        {"A\\r\\nBC", "A\r\nBC", 2, 2},
        {"AB\\r\\n", "AB\r\n", 1, 2},
        {"\\r\\n\\r\\n", "\r\n\r\n", 2, 0},
        {"A\\R\\NB", "A\\R\\NB", 1, 6},
        {"a\\nb\\r", "a\\nb\\r", 1, 6},
    };
    for (const Case& c : cases) {
        int lines = -1;
        int longest = -1;
        EXPECT_EQ(DecodeLineBreaks(c.text, &longest, &lines), c.decoded) << c.text;
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_EQ(longest, c.longest) << c.text;
    }
}

TEST(EncodeLineBreaks, RoundTripsOnlyPairs) {
    EXPECT_EQ(EncodeLineBreaks("one\r\ntwo"), "one\\r\\ntwo");
    EXPECT_EQ(EncodeLineBreaks("lone\rcr\nlf"), "lone\rcr\nlf");
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks("a\r\n\r\nb")), "a\r\n\r\nb");
}
