#include "ui/text_look.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
TextItem Text(int highlight, int normal, int background) {
    TextItem text;
    text.highlightColour = highlight;
    text.normalColour = normal;
    text.highlightBackground = background;
    return text;
}
}  // namespace

TEST(TableColour, SixteenColoursAsBgr) {
    EXPECT_EQ(TableColour(0), 0x000000u);
    EXPECT_EQ(TableColour(1), 0xFF0000u);  // blue
    EXPECT_EQ(TableColour(4), 0x0000FFu);  // red
    EXPECT_EQ(TableColour(7), 0xFFFFFFu);
    EXPECT_EQ(TableColour(11), 0x000080u);  // dark red
    EXPECT_EQ(TableColour(15), 0xC0C0C0u);
    for (int index : {-2, -1, 16, 255, 1 << 30}) EXPECT_EQ(TableColour(index), 0u) << index;
}

TEST(LookOf, NormalAndHighlightedForms) {
    struct Case {
        const char* what;
        TextItem text;
        bool highlighted, background;
        bool nothing;
        int fill;
        bool restore, drawText;
        int colour;
    } cases[] = {
        {"coloured, normal", Text(4, 7, -1), false, true, false, -1, true, true, 7},
        {"coloured, highlighted", Text(4, 7, -1), true, true, false, -1, true, true, 4},
        {"highlight fill", Text(4, 7, 0), true, true, false, 0, false, true, 4},
        {"fill only while highlighted", Text(4, 7, 0), false, true, false, -1, true, true, 7},
        {"no background picture", Text(4, 7, -1), false, false, false, -1, false, true, 7},
        {"HIDE, normal: wiped", Text(4, -1, -1), false, true, false, -1, true, false, 0},
        {"HIDE, highlighted", Text(4, -1, -1), true, true, false, -1, true, true, 4},
        {"HIDE on a fill", Text(2, -1, 8), true, true, false, 8, false, true, 2},
        {"HELP, normal: untouched", Text(4, -2, 0), false, true, true, -1, false, false, 0},
        {"HELP, highlighted", Text(4, -2, 0), true, true, false, 0, false, true, 4},
    };
    for (const Case& c : cases) {
        TextLook look = LookOf(c.text, c.highlighted, c.background);
        EXPECT_EQ(look.drawNothing, c.nothing) << c.what;
        EXPECT_EQ(look.fillColour, c.fill) << c.what;
        EXPECT_EQ(look.restoreBackground, c.restore) << c.what;
        EXPECT_EQ(look.drawText, c.drawText) << c.what;
        if (c.drawText) {
            EXPECT_EQ(look.textColour, c.colour) << c.what;
        }
    }
}

TEST(LookOf, ColoursOutsideTheTableCountAsLeftOut) {
    struct Case {
        const char* what;
        TextItem text;
        bool highlighted;
        bool drawText;
        int fill, colour;
    } cases[] = {
        {"normal 16 acts as blank", Text(4, 16, -1), false, false, -1, 0},
        {"normal -3 acts as blank", Text(4, -3, -1), false, false, -1, 0},
        {"normal 99, highlighted", Text(4, 99, -1), true, true, -1, 4},
        {"highlight 16 gives colour 0", Text(16, 7, -1), true, true, -1, 0},
        {"highlight -5 gives colour 0", Text(-5, 7, -1), true, true, -1, 0},
        {"background 16: no fill", Text(4, 7, 16), true, true, -1, 4},
        {"background -7: no fill", Text(4, 7, -7), true, true, -1, 4},
        {"all of them at once", Text(1000, -1000, 1 << 30), true, true, -1, 0},
    };
    for (const Case& c : cases) {
        TextLook look = LookOf(c.text, c.highlighted, true);
        EXPECT_EQ(look.drawText, c.drawText) << c.what;
        EXPECT_EQ(look.fillColour, c.fill) << c.what;
        EXPECT_GE(look.textColour, 0) << c.what;
        EXPECT_LT(look.textColour, 16) << c.what;
        if (c.drawText) {
            EXPECT_EQ(look.textColour, c.colour) << c.what;
        }
    }
}

TEST(BoundsOf, EdgesStayInsideTheIntRange) {
    struct Case {
        int x, y, width, height;
        int right, bottom;
    } cases[] = {
        {10, 20, 100, 30, 110, 50},
        {-5, -7, 0, 0, -5, -7},
        {INT_MAX - 10, 0, 100, 5, INT_MAX, 5},
        {0, INT_MAX, 5, INT_MAX, 5, INT_MAX},
        {INT_MIN, INT_MIN + 1, -1, -5, INT_MIN, INT_MIN},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {-100, 0, INT_MAX, 0, INT_MAX - 100, 0},
    };
    for (const Case& c : cases) {
        TextItem text;
        text.x = c.x;
        text.y = c.y;
        text.width = c.width;
        text.height = c.height;
        TextBounds bounds = BoundsOf(text);
        EXPECT_EQ(bounds.left, c.x);
        EXPECT_EQ(bounds.top, c.y);
        EXPECT_EQ(bounds.right, c.right) << c.x << "+" << c.width;
        EXPECT_EQ(bounds.bottom, c.bottom) << c.y << "+" << c.height;
    }
}
