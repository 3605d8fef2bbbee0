#include "ui/button_name.h"

#include <gtest/gtest.h>

#include "script/screen_model.h"

TEST(SpokenButtonName, FromTheCaptionOrElseTheExtraText) {
    TextItem caption, extra, blank;
    caption.text = "Install the viewer";
    extra.text = "Puts the viewer on this machine";
    struct Case {
        TextItem* caption;
        TextItem* extra;
        const char* name;
    } cases[] = {
        {&caption, &extra, "Install the viewer"},
        {nullptr, &extra, "Puts the viewer on this machine"},
        {&blank, &extra, "Puts the viewer on this machine"},
        {&caption, nullptr, "Install the viewer"},
        {nullptr, nullptr, ""},
        {&blank, nullptr, ""},
    };
    for (const Case& c : cases) {
        ScreenItem item;
        item.caption = c.caption;
        item.extraText = c.extra;
        EXPECT_EQ(SpokenButtonName(item), c.name);
    }
}

TEST(SpokenButtonName, LineBreaksAndAmpersands) {
    struct Case {
        const char* text;
        const char* name;
    } cases[] = {
        {"Fonts & symbols", "Fonts && symbols"},
        {"&Setup", "&&Setup"},
        {"A&&B", "A&&&&B"},
        {"Install\r\nthe viewer", "Install the viewer"},
        {"Two\r\n\r\nbreaks", "Two  breaks"},
        {"Lone\rcarriage\nand feed", "Lone carriage and feed"},
        {"Ends\r", "Ends "},
    };
    for (const Case& c : cases) {
        TextItem caption;
        caption.text = c.text;
        ScreenItem item;
        item.caption = &caption;
        EXPECT_EQ(SpokenButtonName(item), c.name) << c.text;
    }
}
