#include "script/values.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(ParseNumberOrKeyword, NumbersAndKeywords) {
    FakeMachine machine;
    struct Case {
        const char* text;
        int value;
        std::size_t pos;  // npos: no number
    } cases[] = {
        {" yes ", 1, std::string::npos}, {"Yes please", 0, std::string::npos},
        {"", 0, std::string::npos},      {"--7", -7, 1},
        {"+7", 7, 1},                    {"HIDE", -1, std::string::npos},
        {"help", -2, std::string::npos}, {"BUTTON12", 12, 6},
        {"X-3", -3, 1},                  {"2,5", 2, 0},
        {"CHECK2", 2, 5},                {"checkbox", 3, std::string::npos},
        {"SHOW", 2, std::string::npos},  {"DISABLE", 2, std::string::npos},
        {"99999999999", 2147483647, 0},  {"-99999999999", -2147483647 - 1, 0},
    };
    for (const Case& c : cases) {
        std::size_t pos = std::string::npos;
        EXPECT_EQ(ParseNumberOrKeyword(c.text, &pos), c.value) << c.text;
        EXPECT_EQ(pos, c.pos) << c.text;
    }
}

TEST(NormalizeToken, TrimsAndUpperCases) {
    FakeMachine machine;
    machine.leadBytes = {0x81};
    EXPECT_EQ(NormalizeToken(" \t\v\f\r\n", true), "");
    EXPECT_EQ(NormalizeToken("  [begin] // x \r", true), "[BEGIN] // X");
    EXPECT_EQ(NormalizeToken("  Mixed Case ", false), "Mixed Case");
    // A double-byte character goes through the locale as one: its trail
    // byte is not upper-cased on its own.
    std::string text = std::string("a\x81") + "a" + "b";
    EXPECT_EQ(NormalizeToken(text, true), std::string("A\x81") + "A" + "B");
    // A lead byte at the very end has no trail byte and stays as it is.
    EXPECT_EQ(NormalizeToken("x\x81", true), "X\x81");
}

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

TEST(Blanks, NarrowWhiteSet) {
    EXPECT_EQ(SkipLeadingBlanks(nullptr), nullptr);
    EXPECT_STREQ(SkipLeadingBlanks(" \t\r\n\vx"), "\vx");
    char text[] = "name \t\r\n";
    EXPECT_STREQ(CutTrailingBlanks(text), "name");
    char blank[] = " \t ";
    EXPECT_STREQ(CutTrailingBlanks(blank), "");
    EXPECT_EQ(CutTrailingBlanks(nullptr), nullptr);
}

TEST(FindExtension, LastDotOfWholePath) {
    EXPECT_STREQ(FindExtension("C:\\A.B\\README"), ".B\\README");
    EXPECT_STREQ(FindExtension("C:\\DIR\\README"), "");
    EXPECT_STREQ(FindExtension("X.TAR.GZ"), ".GZ");
}

TEST(SplitFields, LikeStrtok) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitFields("a,,b,"), (V{"a", "b"}));
    EXPECT_EQ(SplitFields(",a, ,b"), (V{"a", " ", "b"}));
    EXPECT_EQ(SplitFields(""), V{});
    EXPECT_EQ(SplitFields(",,,"), V{});
}

TEST(ParseInteger, AtoiLike) {
    EXPECT_EQ(ParseInteger("  42px"), 42);
    EXPECT_EQ(ParseInteger(" -5"), -5);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("123456789012"), 2147483647);
}
