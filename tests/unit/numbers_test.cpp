#include "script/numbers.h"

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

TEST(ParseInteger, AtoiLike) {
    EXPECT_EQ(ParseInteger("  42px"), 42);
    EXPECT_EQ(ParseInteger(" -5"), -5);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("123456789012"), 2147483647);
}

TEST(DecimalText, AnyInt) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(31), "31");
    EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}
