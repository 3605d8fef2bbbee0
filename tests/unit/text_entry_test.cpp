#include <gtest/gtest.h>

#include <climits>

#include "fake_machine.h"
#include "fake_script_host.h"
#include "script/text_entry.h"

namespace {

struct Texts {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;

    Texts() { model.fonts[1] = FakeScriptHost::FontNumber(100); }
    TextItem* Read(const std::string& value) {
        ReadScript(machine, model, host, "[TEXT]\nTEXT1=" + value + "\n");
        return model.texts[1].get();
    }
};

}  // namespace

TEST(TextEntry, Fields) {
    struct Case {
        const char* value;
        const char* text;
        int highlight, normal, background;
        bool font;
        int x, y;
    } cases[] = {
        // Two commas are one separator: 3 moves up to the normal colour.
        {"Text,7,,3", "Text", 7, 3, -1, false, -1, -1},
        {"Text,7, ,3", "Text", 7, -1, 3, false, -1, -1},
        {" Two\\r\\nlines,4,7,0,1,10,20", " Two\r\nlines", 4, 7, 0, true, 10, 20},
        {"t,1,HIDE", "t", 1, -1, -1, false, -1, -1},
        {"t,1,help", "t", 1, -2, -1, false, -1, -1},
        {"t,1,no such word", "t", 1, 0, -1, false, -1, -1},
        {"t, 2x,3", "t", 2, 3, -1, false, -1, -1},
        {"t,x2", "t", 0, -1, -1, false, -1, -1},
        {"t,1,2,3,0, ,\t,7,8", "t", 1, 2, 3, false, -1, -1},
        {"t,1,2,3,0,-5,-6,7,8", "t", 1, 2, 3, false, -5, -6},
        {"t,1,2,3,YES,0,0", "t", 1, 2, 3, true, 0, 0},
        {"t,0,0,0,2", "t", 0, 0, 0, false, -1, -1},   // font slot without a font
        {"t,0,0,0,40", "t", 0, 0, 0, false, -1, -1},  // no such font slot
        // Colours the table does not hold.
        {"t,16,16,16", "t", 0, -1, -1, false, -1, -1},
        {"t,-1,-3,-2", "t", 0, -1, -1, false, -1, -1},
        {"t,15,-2,15", "t", 15, -2, 15, false, -1, -1},
        {"t,99999999999,-99999999999,99999999999", "t", 0, -1, -1, false, -1, -1},
        {",,,", "", 0, -1, -1, false, -1, -1},
    };
    for (const auto& c : cases) {
        Texts texts;
        TextItem* text = texts.Read(c.value);
        ASSERT_NE(text, nullptr) << c.value;
        EXPECT_EQ(text->text, c.text) << c.value;
        EXPECT_EQ(text->highlightColour, c.highlight) << c.value;
        EXPECT_EQ(text->normalColour, c.normal) << c.value;
        EXPECT_EQ(text->highlightBackground, c.background) << c.value;
        EXPECT_EQ(text->font, c.font ? FakeScriptHost::FontNumber(100) : nullptr) << c.value;
        EXPECT_EQ(text->x, c.x) << c.value;
        EXPECT_EQ(text->y, c.y) << c.value;
    }
}

// The fake measures 6 pixels a byte and 13 a line (23 in a script font).
TEST(TextEntry, SizeGivenOrMeasured) {
    struct Case {
        const char* value;
        int width, height;
        const char* measured;  // null: nothing measured
    } cases[] = {
        {"t,0,0,0,0,0,0,50,20", 50, 20, nullptr},
        {"Hello", 30, 13, "Hello"},
        // Extent of the whole run, scaled to the longest line.
        {"AB\\r\\nCDEF", 48 * 4 / 8, 26, "AB\r\nCDEF"},
        {"\\r\\n\\r\\n", 0, 26, "\r\n\r\n"},
        {"Hi,0,0,0,0,0,0,50", 12, 13, "Hi"},
        {"Hi,0,0,0,0,0,0,0,20", 12, 13, "Hi"},
        {"Hi,0,0,0,1", 12, 23, "Hi"},
        {"", 0, 0, ""},
    };
    for (const auto& c : cases) {
        Texts texts;
        TextItem* text = texts.Read(c.value);
        ASSERT_NE(text, nullptr) << c.value;
        EXPECT_EQ(text->width, c.width) << c.value;
        EXPECT_EQ(text->height, c.height) << c.value;
        if (c.measured) {
            EXPECT_EQ(texts.host.measured, std::vector<std::string>{c.measured}) << c.value;
        } else {
            EXPECT_TRUE(texts.host.measured.empty()) << c.value;
        }
    }
}

TEST(TextEntry, MeasuredHeightSaturates) {
    Texts texts;
    texts.host.lineHeight = INT_MAX;
    TextItem* text = texts.Read("a\\r\\nb\\r\\nc");
    EXPECT_EQ(text->height, INT_MAX);
}

TEST(TextEntry, NumbersAndFirstEntryWins) {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;
    ReadScript(machine, model, host,
               "[TEXT]\n"
               "TEXT1=first\n"
               "TEXT1=second\n"
               "TEXT0=zero\n"
               "TEXT=none\n"
               "TEXT32=too far\n"
               "TEXT-3=negative\n"
               "TEXTS2=wrong name\n"
               "text 31 = last slot\n"
               "[BEGIN]\n"
               "TEXT4=not in a text section\n");
    ASSERT_NE(model.texts[1], nullptr);
    EXPECT_EQ(model.texts[1]->text, "first");
    EXPECT_EQ(model.texts[0], nullptr);
    EXPECT_EQ(model.texts[2], nullptr);
    EXPECT_EQ(model.texts[4], nullptr);
    ASSERT_NE(model.texts[31], nullptr);
    EXPECT_EQ(model.texts[31]->text, " last slot");
}

