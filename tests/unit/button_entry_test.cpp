#include "script/button_entry.h"

#include <gtest/gtest.h>

#include <climits>

#include "fake_machine.h"
#include "fake_script_host.h"

namespace {

struct Buttons {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;

    Buttons() { host.pictures["D:\\SETUP\\PIC.BMP"] = {400, 50}; }
    void Read(const std::string& body) { ReadScript(machine, model, host, body); }
    ScreenItem* Button(const std::string& value) {
        Read("[BUTTON]\nBUTTON1=" + value + "\n");
        return model.buttons[1].get();
    }
};

struct Rect {
    int x, y, width, height;
};

bool operator==(const Rect& a, const Rect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.x << "," << r.y << " " << r.width << "x" << r.height;
}
Rect Frame(const ScreenItem& item) { return {item.x, item.y, item.width, item.height}; }
Rect Window(const ScreenItem& item) {
    return {item.windowX, item.windowY, item.windowWidth, item.windowHeight};
}

}  // namespace

TEST(ButtonForm, Fields) {
    struct Case {
        const char* value;
        int kind, state, option;
        Rect frame, window;
        const char* picture;  // the name asked of the cache; null: none asked
        const char* hoverSound;
        const char* command;
    } cases[] = {
        {" PUSHBUTTON,10,20,0,0,FOCUS,SHOW,pic.bmp", 0, 1, 2, {10, 20, 100, 50},
         {10, 20, 100, 50}, "D:\\SETUP\\PIC.BMP", "", ""},
        // The picture gives the frame size; the window is at least one frame.
        {"EXITBUTTON,10,20,150,30,NORMAL,NO, Pic.Bmp ", 1, 0, 0, {10, 20, 100, 50},
         {10, 20, 150, 50}, "D:\\SETUP\\PIC.BMP", "", ""},
        // An unreadable picture measures 0 by 0; the window keeps the entry's size.
        {"CHECKBOX,1,2,3,4,CHECK,YES,art\\missing.bmp", 3, 1, 1, {1, 2, 0, 0}, {1, 2, 3, 4},
         "D:\\SETUP\\ART\\MISSING.BMP", "", ""},
        {"OKBUTTON,-5,-6,7,8,DISABLE,1", 2, 2, 1, {-5, -6, 7, 8}, {-5, -6, 7, 8}, nullptr, "", ""},
        {"checkbox2", 2, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, nullptr, "", ""},
        {"PUSHBUTTON,1,2,3,4,0,0, ,0, ,  sound.wav  ,  Setup.exe /Q  ,extra,fields", 0, 0, 0,
         {1, 2, 0, 0}, {1, 2, 3, 4}, "", "sound.wav", "Setup.exe /Q"},
        {"PUSHBUTTON,99999999999,-99999999999,7x,x7", 0, 0, 0, {INT_MAX, INT_MIN, 7, 0},
         {INT_MAX, INT_MIN, 7, 0}, nullptr, "", ""},
        {",,,,", 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, nullptr, "", ""},
    };
    for (const auto& c : cases) {
        Buttons buttons;
        ScreenItem* item = buttons.Button(c.value);
        ASSERT_NE(item, nullptr) << c.value;
        EXPECT_EQ(static_cast<int>(item->kind), c.kind) << c.value;
        EXPECT_EQ(item->state.load(), c.state) << c.value;
        EXPECT_EQ(item->option, c.option) << c.value;
        EXPECT_EQ(Frame(*item), c.frame) << c.value;
        EXPECT_EQ(Window(*item), c.window) << c.value;
        if (c.picture) {
            EXPECT_EQ(buttons.host.pictureRequests, std::vector<std::string>{c.picture}) << c.value;
            EXPECT_EQ(item->picture, buttons.host.Picture(c.picture)) << c.value;
        } else {
            EXPECT_TRUE(buttons.host.pictureRequests.empty()) << c.value;
            EXPECT_EQ(item->picture, nullptr) << c.value;
        }
        EXPECT_EQ(item->hoverSound, c.hoverSound) << c.value;
        EXPECT_EQ(item->command, c.command) << c.value;
        EXPECT_EQ(item->caption, nullptr) << c.value;
    }
}

TEST(ButtonForm, SharedAndUncachedPictures) {
    Buttons buttons;
    buttons.Read(
        "[BUTTON]\n"
        "BUTTON1=PUSHBUTTON,0,0,0,0,0,0,pic.bmp\n"
        "BUTTON2=PUSHBUTTON,0,0,0,0,0,0, PIC.BMP\n");
    ASSERT_NE(buttons.model.buttons[1]->picture, nullptr);
    EXPECT_EQ(buttons.model.buttons[1]->picture, buttons.model.buttons[2]->picture);

    // A full cache gives no picture: the button keeps its written size.
    Buttons full;
    full.host.cacheSize = 0;
    ScreenItem* item = full.Button("PUSHBUTTON,5,6,70,80,0,0,pic.bmp");
    EXPECT_EQ(item->picture, nullptr);
    EXPECT_EQ(Frame(*item), (Rect{5, 6, 70, 80}));
    EXPECT_EQ(Window(*item), (Rect{5, 6, 70, 80}));
}

// Buttons of 80 pixels wide frames; the caption is text 1 of 60x20, placed
// by its own x and y.
TEST(CaptionPlacement, Rules) {
    struct Case {
        const char* button;  // fields 1 to 8 of the entry
        const char* captionXY;
        const char* placement;
        Rect caption, window;
    } cases[] = {
        // To the right: 20 (half the height) right of the button, centred on it.
        {"0,100,200,0,0,0,0,b80x40", " , ", " ", {200, 210, 60, 20}, {100, 200, 160, 40}},
        {"0,100,200,0,0,0,0,b80x40", " , ", "3", {200, 210, 60, 20}, {100, 200, 160, 40}},
        {"0,100,200,0,0,0,0,b80x40", " , ", "x2", {200, 210, 60, 20}, {100, 200, 160, 40}},
        {"0,100,200,0,0,0,0,b80x40", " , ", "LEFT", {20, 210, 60, 20}, {20, 200, 160, 40}},
        {"0,100,200,0,0,0,0,b80x40", " , ", "1", {20, 210, 60, 20}, {20, 200, 160, 40}},
        // The placement replaces the window that the written size gave.
        {"0,100,200,200,100,0,0,b80x40", " , ", " ", {200, 210, 60, 20}, {100, 200, 160, 40}},
        // A caption taller than the button sets the window's top and height.
        {"0,100,200,0,0,0,0,b80x10", " , ", " ", {185, 195, 60, 20}, {100, 195, 145, 20}},
        // Half of an odd or negative height rounds towards zero.
        {"0,100,200,0,0,0,0,b80x41", " , ", " ", {200, 210, 60, 20}, {100, 200, 160, 41}},
        {"0,100,200,0,0,0,0,b80xm41", " , ", " ", {160, 170, 60, 20}, {100, 170, 120, 20}},
        // MERGE takes the caption's place, or the button's when it has none.
        {"0,100,200,0,0,0,0,b80x40", " , ", "MERGE", {100, 200, 60, 20}, {100, 200, 80, 40}},
        {"0,100,200,0,0,0,0,b80x40", " , ", "2x", {100, 200, 60, 20}, {100, 200, 80, 40}},
        {"0,100,200,0,0,0,0,b80x40", "50,250", "merge", {50, 250, 60, 20}, {50, 200, 130, 70}},
        {"0,100,200,0,0,0,0,b80x40", " ,250", "MERGE", {100, 250, 60, 20}, {100, 200, 80, 70}},
        {"0,100,200,0,0,0,0,b80x40", "300, ", "MERGE", {300, 200, 60, 20}, {100, 200, 260, 40}},
        // A caption with a position of its own stays, and so does the window.
        {"0,100,200,0,0,0,0,b80x40", "50,250", " ", {50, 250, 60, 20}, {100, 200, 80, 40}},
        {"0,100,200,0,0,0,0,b80x40", " ,250", "LEFT", {-1, 250, 60, 20}, {100, 200, 80, 40}},
        {"0,100,200,0,0,0,0,b80x40", "50, ", " ", {50, -1, 60, 20}, {100, 200, 80, 40}},
        // Without a picture the frame measures 0 by 0 and the caption is the hit area.
        {"0,100,200,50,50,0,0, ", " , ", " ", {100, 190, 60, 20}, {100, 190, 60, 20}},
        // Coordinates at the ends of the int range saturate.
        {"0,99999999999,99999999999,0,0,0,0,b80x40", " , ", " ",
         {INT_MAX, INT_MAX, 60, 20}, {INT_MAX, INT_MAX, 160, 40}},
        {"0,99999999999,99999999999,0,0,0,0,b80x40", "0,0", "MERGE",
         {0, 0, 60, 20}, {0, 0, INT_MAX, INT_MAX}},
        {"0,-99999999999,-99999999999,0,0,0,0,b80x40", " , ", "LEFT",
         {INT_MIN, INT_MIN + 10, 60, 20}, {INT_MIN, INT_MIN, 160, 40}},
        {"0,-99999999999,-99999999999,0,0,0,0,b80x40", "100,100", "MERGE",
         {100, 100, 60, 20}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
    };
    for (const auto& c : cases) {
        Buttons buttons;
        buttons.host.pictures["D:\\SETUP\\B80X40"] = {320, 40};
        buttons.host.pictures["D:\\SETUP\\B80X10"] = {320, 10};
        buttons.host.pictures["D:\\SETUP\\B80X41"] = {320, 41};
        buttons.host.pictures["D:\\SETUP\\B80XM41"] = {320, -41};
        std::string body = std::string("[TEXT]\nTEXT1=Caption,0,0,0,0,") + c.captionXY +
                           ",60,20\n[BUTTON]\nBUTTON1=" + c.button + ",1," + c.placement +
                           ",sound.wav,setup.exe\n";
        buttons.Read(body);
        ScreenItem* item = buttons.model.buttons[1].get();
        ASSERT_NE(item, nullptr) << body;
        ASSERT_EQ(item->caption, buttons.model.texts[1].get()) << body;
        const TextItem& t = *item->caption;
        EXPECT_EQ((Rect{t.x, t.y, t.width, t.height}), c.caption) << body;
        EXPECT_EQ(Window(*item), c.window) << body;
        EXPECT_EQ(item->command, "setup.exe") << body;
    }
}

TEST(CaptionPlacement, CaptionNumbers) {
    struct Case {
        const char* number;
        int slot;  // -1: no caption
    } cases[] = {{"1", 1}, {"YES", 1}, {"0", -1}, {"2", -1}, {"32", -1}, {"HELP", -1}};
    for (const auto& c : cases) {
        Buttons buttons;
        buttons.Read(std::string("[TEXT]\nTEXT1=one,0,0,0,0,5,5\n[BUTTON]\nBUTTON1=0,1,1,1,1,0,0, ,") +
                     c.number + "\n");
        ScreenItem* item = buttons.model.buttons[1].get();
        ASSERT_NE(item, nullptr) << c.number;
        EXPECT_EQ(item->caption, c.slot < 0 ? nullptr : buttons.model.texts[c.slot].get())
            << c.number;
    }
}

TEST(ButtonEntry, NumbersWindowsAndFocus) {
    struct Case {
        const char* body;
        std::vector<int> slots;  // filled afterwards
        std::vector<std::string> log;
    } cases[] = {
        {"BUTTON1=PUSHBUTTON,0,0,1,1,FOCUS\n", {1}, {"create 1", "focus 1"}},
        {"BUTTON31=EXITBUTTON,0,0,1,1,1\n", {31}, {"create 31", "focus 31"}},
        {"BUTTON2=OKBUTTON,0,0,1,1,DISABLE\n", {2}, {"create 2"}},
        // A checked box is not a focus request.
        {"BUTTON2=CHECKBOX,0,0,1,1,CHECK\n", {2}, {"create 2"}},
        // Every request is passed on in order: the last one wins.
        {"BUTTON3=0,0,0,1,1,FOCUS\nBUTTON2=0,0,0,1,1,FOCUS\n", {2, 3},
         {"create 3", "focus 3", "create 2", "focus 2"}},
        {"BUTTON0=0,0,0,1,1\nBUTTON=0\nBUTTON32=0\nBUTTON-4=0\nBUTTONS1=0\n", {}, {}},
        {"BUTTON99999999999=0\n", {}, {}},
        // A window that cannot be made takes its record with it.
        {"BUTTON4=PUSHBUTTON,0,0,1,1,FOCUS\n", {}, {"create 4", "destroy 4"}},
    };
    for (const auto& c : cases) {
        Buttons buttons;
        buttons.host.windowsFail = {4};
        buttons.Read(std::string("[BUTTON]\n") + c.body);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            bool filled = std::find(c.slots.begin(), c.slots.end(), slot) != c.slots.end();
            ASSERT_EQ(buttons.model.buttons[slot] != nullptr, filled) << c.body << slot;
            if (filled) {
                EXPECT_TRUE(buttons.model.buttons[slot]->hasWindow);
            }
        }
        EXPECT_EQ(buttons.host.log, c.log) << c.body;
    }
}

TEST(ButtonEntry, FailedWindowDropsAListedRecord) {
    Buttons buttons;
    buttons.host.windowsFail = {4};
    buttons.Read("TRAPREBOOTBUTTONS=4\n[BUTTON]\nBUTTON4=0,0,0,1,1\n[MESSAGE]\nBUTTON4=lost\n");
    EXPECT_EQ(buttons.model.buttons[4], nullptr);
}

TEST(ButtonEntry, LaterEntryReplacesTheButton) {
    Buttons buttons;
    buttons.Read(
        "TRAPREBOOTBUTTONS=1\n"
        "[TEXT]\nTEXT1=Install,0,0,0,0, , ,60,20\n"
        "[BUTTON]\nBUTTON1=PUSHBUTTON,10,10,80,40,FOCUS,SHOW,pic.bmp,1, ,hover.wav,setup.exe\n"
        "[MESSAGE]\nBUTTON1=Cannot start\n"
        "[EXTRATEXT]\nBUTTON1=1\n"
        "[BUTTON]\nBUTTON1=CHECKBOX,300,300,20,20,CHECK\n");
    ScreenItem* item = buttons.model.buttons[1].get();
    ASSERT_NE(item, nullptr);
    // The window is made once and then moved.
    EXPECT_EQ(buttons.host.log, (std::vector<std::string>{"create 1", "focus 1", "create 1"}));
    EXPECT_EQ(item->kind, ButtonKind::kCheckBox);
    EXPECT_EQ(item->state.load(), kChecked);
    EXPECT_EQ(item->option, 0);
    EXPECT_EQ(Frame(*item), (Rect{300, 300, 20, 20}));
    EXPECT_EQ(Window(*item), (Rect{300, 300, 20, 20}));
    EXPECT_EQ(item->picture, nullptr);
    EXPECT_EQ(item->caption, nullptr);
    EXPECT_EQ(item->hoverSound, "");
    EXPECT_EQ(item->command, "");
    EXPECT_TRUE(item->hasWindow);
    // What the slot's own sections and the policy list gave stays.
    EXPECT_EQ(item->restartPolicy, kTrapRestart);
    EXPECT_EQ(item->failureMessage, "Cannot start");
    EXPECT_EQ(item->extraText, buttons.model.texts[1].get());
    // The caption that the first entry placed is free again.
    EXPECT_EQ(buttons.model.texts[1]->x, -1);
    EXPECT_EQ(buttons.model.texts[1]->y, -1);
}

TEST(ButtonEntry, LaterEntryPlacesTheSameCaptionAgain) {
    Buttons buttons;
    buttons.Read(
        "[TEXT]\nTEXT1=Install,0,0,0,0, , ,60,20\n"
        "[BUTTON]\nBUTTON1=0,10,10,0,0,0,0,pic.bmp,1\n"
        "[BUTTON] [ENG]\nBUTTON1=0,100,200,0,0,0,0,pic.bmp,1\n");
    const TextItem& caption = *buttons.model.texts[1];
    EXPECT_EQ(caption.x, 225);
    EXPECT_EQ(caption.y, 215);
    EXPECT_EQ(Window(*buttons.model.buttons[1]), (Rect{100, 200, 185, 50}));
}

TEST(ButtonEntry, LaterEntryWhoseWindowFailsEmptiesTheSlot) {
    Buttons buttons;
    buttons.Read("[BUTTON]\nBUTTON4=0,0,0,1,1\n");
    buttons.host.windowsFail = {4};
    buttons.Read("[BUTTON]\nBUTTON4=0,5,5,1,1\n");
    EXPECT_EQ(buttons.model.buttons[4], nullptr);
    EXPECT_EQ(buttons.host.log, (std::vector<std::string>{"create 4", "create 4", "destroy 4"}));
}

TEST(ContinuationForm, Fields) {
    struct Case {
        const char* value;
        const char* command;
        int option;
    } cases[] = {
        {"setup.exe", "setup.exe", 0},
        {" setup.exe /s , YES", "setup.exe /s", 1},
        {"a.exe,NO,SHOW", "a.exe", 2},
        {",,,a.exe,,1", "a.exe", 1},
        {"a.exe,99999999999", "a.exe", INT_MAX},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        FakeMachine machine;
        ScreenItem item;
        item.option = 7;
        item.x = item.windowWidth = 9;
        item.restartPolicy = kAllowRestart;
        ParseContinuationForm(item, c.value);
        EXPECT_EQ(item.command, c.command) << c.value;
        EXPECT_EQ(item.option, c.option) << c.value;
        EXPECT_EQ(item.kind, ButtonKind::kCheckBox) << c.value;
        EXPECT_EQ(item.state.load(), kChecked) << c.value;
        EXPECT_EQ(Window(item), (Rect{0, 0, 0, 0})) << c.value;
        EXPECT_EQ(item.restartPolicy, kAllowRestart) << c.value;
    }
}

TEST(ChainSections, FlagsAndMembers) {
    struct Case {
        const char* body;
        int resumed, autoRun;
        std::vector<int> members;
    } cases[] = {
        {"[RUN]\nBUTTON1= setup.exe , YES\n", 0, 1, {1}},
        {"[REBOOTED]\nBUTTON2=setup.exe\nBUTTON5=more.exe\n", 1, 0, {2, 5}},
        {"[RUN]\nANYTHING=1\n", 0, 1, {}},
        {"[RUN]\n=x\nno equals sign\n", 0, 0, {}},
        {"[RUN]\nBUTTON0=a.exe\nBUTTON32=b.exe\nBUTTON=c.exe\n", 0, 1, {}},
        {"[RUN]\n[REBOOTED]\n", 0, 0, {}},
    };
    for (const auto& c : cases) {
        Buttons buttons;
        buttons.Read(c.body);
        EXPECT_EQ(buttons.model.resumed, c.resumed) << c.body;
        EXPECT_EQ(buttons.model.autoRun, c.autoRun) << c.body;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            bool member = std::find(c.members.begin(), c.members.end(), slot) != c.members.end();
            ASSERT_EQ(buttons.model.buttons[slot] != nullptr, member) << c.body << slot;
            if (member) {
                EXPECT_TRUE(buttons.model.buttons[slot]->IsChainMember()) << c.body << slot;
                EXPECT_FALSE(buttons.model.buttons[slot]->hasWindow);
            }
        }
        EXPECT_TRUE(buttons.host.log.empty()) << c.body;
    }
}

TEST(ChainSections, ReuseAndShownButtons) {
    Buttons buttons;
    buttons.Read(
        "TRAPREBOOTBUTTONS=3\n"
        "[BUTTON]\nBUTTON1=PUSHBUTTON,1,2,3,4,0,0, , , , ,shown.exe\n"
        "[RUN]\n"
        "BUTTON1=hidden.exe,YES\n"
        "BUTTON3=listed.exe,YES\n"
        "BUTTON4=first.exe,YES\n"
        "BUTTON4=second.exe\n");
    EXPECT_EQ(buttons.model.autoRun, 1);
    // A shown button is not turned into a hidden member.
    ScreenItem* shown = buttons.model.buttons[1].get();
    EXPECT_EQ(shown->command, "shown.exe");
    EXPECT_EQ(shown->kind, ButtonKind::kPush);
    EXPECT_EQ(Window(*shown), (Rect{1, 2, 3, 4}));
    // A listed record is filled and keeps its policy.
    EXPECT_EQ(buttons.model.buttons[3]->command, "listed.exe");
    EXPECT_EQ(buttons.model.buttons[3]->restartPolicy, kTrapRestart);
    EXPECT_EQ(buttons.model.buttons[3]->option, 1);
    // A later member entry replaces the earlier one.
    EXPECT_EQ(buttons.model.buttons[4]->command, "second.exe");
    EXPECT_EQ(buttons.model.buttons[4]->option, 0);
    EXPECT_EQ(buttons.host.log, std::vector<std::string>{"create 1"});

    // A [BUTTON] entry after a member shows it as an ordinary button.
    buttons.Read("[BUTTON]\nBUTTON4=CHECKBOX,1,1,1,1\n");
    EXPECT_TRUE(buttons.model.buttons[4]->hasWindow);
    EXPECT_EQ(buttons.model.buttons[4]->state.load(), kStateNormal);
    EXPECT_EQ(buttons.model.buttons[4]->command, "");
}

TEST(ButtonSections, SlotsAndNames) {
    struct Case {
        const char* entry;
        bool applies;
    } cases[] = {
        {"BUTTON1", true},   {"button 1 ", true}, {"BUTTON0", true},  {"BUTTON2", false},
        {"BUTTON32", false}, {"BUTTON-1", false}, {"BUTTON", true},   {"TEXT1", false},
        {"BUTTONS1", false}, {"BUTTON99999999999", false},
    };
    const char* sections[] = {"REFERENCE", "IGNOREWAITPROCESS", "INSTALLMESSAGE", "MESSAGE",
                              "EXTRATEXT"};
    for (const char* section : sections) {
        for (const auto& c : cases) {
            Buttons buttons;
            buttons.Read(std::string("TRAPREBOOTBUTTONS=0\n[TEXT]\nTEXT1=x\n[BUTTON]\n") +
                         "BUTTON1=0,0,0,1,1\n[" + section + "]\n" + c.entry + "=1\n");
            bool applied = false;
            for (int slot = 0; slot < 2; ++slot) {
                const ScreenItem& item = *buttons.model.buttons[slot];
                applied = applied || !item.referenceList.empty() || !item.ignoreList.empty() ||
                          !item.installMessage.empty() || !item.failureMessage.empty() ||
                          item.extraText;
            }
            EXPECT_EQ(applied, c.applies) << section << " " << c.entry;
        }
    }
}

TEST(ButtonSections, Values) {
    Buttons buttons;
    buttons.Read(
        "[TEXT]\nTEXT2=extra\n"
        "[REFERENCE]\nBUTTON1=2,/A\n"  // before the button: no effect
        "[BUTTON]\nBUTTON1=0,0,0,1,1\nBUTTON3=0,0,0,1,1\nBUTTON4=0,0,0,1,1\n"
        "[REFERENCE]\nBUTTON1= 2,/A,3,/B \n"
        "[IGNOREWAITPROCESS]\nBUTTON1=old.exe\nBUTTON1= setup.exe , \t , msiexec \n"
        "[INSTALLMESSAGE]\nBUTTON1=Installing\\r\\nplease wait\n"
        "[MESSAGE]\nBUTTON1=Cannot start\\r\\n\n"
        "[EXTRATEXT]\nBUTTON1=2\nBUTTON3=0\nBUTTON4=HELP\n"
        "[INSTALLMESSAGE]\nBUTTON1=Installing again\n");
    const ScreenItem& item = *buttons.model.buttons[1];
    EXPECT_EQ(item.referenceList, " 2,/A,3,/B ");
    EXPECT_EQ(item.ignoreList, (std::vector<std::string>{"setup.exe", "msiexec"}));
    EXPECT_EQ(item.installMessage, "Installing again");
    EXPECT_EQ(item.failureMessage, "Cannot start\r\n");
    EXPECT_EQ(item.extraText, buttons.model.texts[2].get());
    EXPECT_EQ(buttons.model.buttons[3]->extraText, nullptr);
    EXPECT_EQ(buttons.model.buttons[4]->extraText, nullptr);
}

TEST(IgnoreList, Pieces) {
    struct Case {
        const char* value;
        std::vector<std::string> names;
    } cases[] = {
        {" setup.exe , \t , msiexec ", {"setup.exe", "msiexec"}},
        {"", {}},
        {",,,", {}},
        {"\r\n a.exe\r\n", {"a.exe"}},
        {"a b.exe, c", {"a b.exe", "c"}},
        // Only space, tab, CR and LF are trimmed.
        {"\va.exe", {"\va.exe"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIgnoreList(c.value), c.names) << c.value;
}

// Scaled: the places and sizes written, not the picture (the fake's strip
// stands for one scaled already); the caption placed from the scaled button.
TEST(ButtonForm, ScaledScreen) {
    Buttons b;
    b.model.scale.factor = 2;
    b.Read("[TEXT]\nTEXT1=Go,4,7, ,0, , ,60,20\n[BUTTON]\nBUTTON1=PUSHBUTTON,20,30,0,0,NORMAL,SHOW,PIC.BMP,1\n"
           "BUTTON2=PUSHBUTTON,-5,1500000000,50,20\n");
    EXPECT_EQ(Window(*b.model.buttons[1]), (Rect{40, 60, 245, 50}));
    EXPECT_EQ((Rect{b.model.texts[1]->x, b.model.texts[1]->y, 0, 0}), (Rect{165, 65, 0, 0}));
    EXPECT_EQ(Window(*b.model.buttons[2]), (Rect{-10, INT_MAX, 100, 40}));
}
