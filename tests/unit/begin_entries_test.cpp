#include <gtest/gtest.h>

#include <algorithm>

#include "fake_machine.h"
#include "fake_script_host.h"
#include "script/button_entry.h"
#include "script/text_entry.h"

namespace {

struct Screen {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;
    int runMultiple = -1;

    void Read(const std::string& body) {
        ScreenScript reader(model, host, machine);
        ScriptLines lines("[BEGIN]\n" + body);
        reader.ReadLines(lines);
        runMultiple = reader.RunMultiple();
    }
};

}  // namespace

TEST(BeginEntries, SettingsFromValues) {
    struct Case {
        const char* body;
        const char* title;
        const char* introSound;
        int restartMode;
        int runMultiple;
    } cases[] = {
        {"TITLE=  Setup of Things \n", "Setup of Things", "", 0, 0},
        {"INTROSOUND= sounds\\intro.wav , 3 \n", "", "SOUNDS\\INTRO.WAV , 3", 0, 0},
        {"TRAPREBOOTMODE= ok \n", "", "", 0, 0},
        {"TRAPREBOOTMODE=OKAY\n", "", "", 4, 0},
        {"TRAPREBOOTMODE=YES\nTRAPREBOOTMODE=Ok\n", "", "", 0, 0},
        {"RUNMULTIPLE=yes\n", "", "", 0, 1},
        {"RUNMULTIPLE=YES\nRUNMULTIPLE=maybe\n", "", "", 0, 0},
        // The number of a key other than FONT is ignored.
        {"TITLE 7=numbered\n", "numbered", "", 0, 0},
        {"TITLES=wrong name\n", "", "", 0, 0},
    };
    for (const auto& c : cases) {
        Screen screen;
        screen.Read(c.body);
        EXPECT_EQ(screen.model.title, c.title) << c.body;
        EXPECT_EQ(screen.model.introSound, c.introSound) << c.body;
        EXPECT_EQ(screen.model.restartMode, c.restartMode) << c.body;
        EXPECT_EQ(screen.runMultiple, c.runMultiple) << c.body;
    }
}

TEST(BeginEntries, IntroBitmapIsResolvedBesideTheProgram) {
    struct Case {
        const char* value;
        const char* path;
    } cases[] = {
        {" art\\back.bmp ", "D:\\SETUP\\ART\\BACK.BMP"},
        {"c:\\b.bmp", "C:\\B.BMP"},
    };
    for (const auto& c : cases) {
        Screen screen;
        screen.Read(std::string("INTROBITMAP=") + c.value + "\n");
        EXPECT_EQ(screen.host.backgrounds, std::vector<std::string>{c.path}) << c.value;
    }
}

TEST(FontSpecification, Fields) {
    FakeMachine machine;
    struct Case {
        const char* value;
        bool hasHeight;
        int height;
        bool bold, italic, underline, strikeOut;
        bool hasFace;
        const char* face;
    } cases[] = {
        {"Arial,12,BOLD", true, 12, true, false, false, false, true, "Arial"},
        {"12, Arial", true, 12, false, false, false, false, true, " Arial"},
        {" italic , underline,strikeout", false, 0, false, true, true, true, false, ""},
        {"12,20", true, 20, false, false, false, false, false, ""},
        {" 14px", true, 14, false, false, false, false, false, ""},
        // A leading "-" is no digit: the field is a face name.
        {"-12", false, 0, false, false, false, false, true, "-12"},
        {"99999999999", true, 2147483647, false, false, false, false, false, ""},
        // A blank field between commas leaves the face alone.
        {"Arial, ,bold", false, 0, true, false, false, false, true, "Arial"},
        {",,,", false, 0, false, false, false, false, false, ""},
    };
    for (const auto& c : cases) {
        FontChanges f = ParseFontSpecification(machine, c.value);
        EXPECT_EQ(f.hasHeight, c.hasHeight) << c.value;
        EXPECT_EQ(f.height, c.height) << c.value;
        EXPECT_EQ(f.bold, c.bold) << c.value;
        EXPECT_EQ(f.italic, c.italic) << c.value;
        EXPECT_EQ(f.underline, c.underline) << c.value;
        EXPECT_EQ(f.strikeOut, c.strikeOut) << c.value;
        EXPECT_EQ(f.hasFaceName, c.hasFace) << c.value;
        EXPECT_EQ(f.faceName, c.face) << c.value;
    }
}

TEST(FontSpecification, LongFaceNamesAreCut) {
    FakeMachine machine;
    machine.leadBytes = {0x81};
    const std::string thirtyOne(31, 'F');
    EXPECT_EQ(ParseFontSpecification(machine, thirtyOne).faceName, thirtyOne);
    EXPECT_EQ(ParseFontSpecification(machine, thirtyOne + "XYZ").faceName, thirtyOne);
    // A double-byte character that would straddle the limit is left out whole.
    std::string thirty(30, 'F');
    EXPECT_EQ(ParseFontSpecification(machine, thirty + "\x81" "A" + "B").faceName, thirty);
    std::string twentyNine(29, 'F');
    EXPECT_EQ(ParseFontSpecification(machine, twentyNine + "\x81" "A" + "B").faceName,
              twentyNine + "\x81" "A");
}

TEST(BeginEntries, FontSlots) {
    struct Case {
        const char* body;
        int slot;        // where the last created font lands; -1 none
        int created;
    } cases[] = {
        {"FONT1=Arial,12\n", 1, 1},
        {"FONT=Arial\n", 0, 1},
        {"FONT32=Arial\n", -1, 0},
        {"FONT-1=Arial\n", -1, 0},
        {"FONT99999999999=Arial\n", -1, 0},
    };
    for (const auto& c : cases) {
        Screen screen;
        screen.Read(c.body);
        EXPECT_EQ(static_cast<int>(screen.host.createdFonts.size()), c.created) << c.body;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            FontHandle expected = slot == c.slot ? FakeScriptHost::FontNumber(1) : nullptr;
            EXPECT_EQ(screen.model.fonts[slot], expected) << c.body << " slot " << slot;
        }
    }
}

TEST(BeginEntries, LaterFontReplacesEarlierOneEverywhere) {
    Screen screen;
    screen.host.fontLineHeights[FakeScriptHost::FontNumber(3)] = 40;
    screen.Read(
        "FONT1=Arial,12\n"
        "FONT2=Courier\n"
        "[TEXT]\nTEXT1=one,0, , ,1\nTEXT2=two,0, , ,2\nTEXT3=three,0, , ,1,0,0,50,20\n"
        "[BEGIN]\nFONT1=Tahoma,BOLD\n");
    ASSERT_EQ(screen.host.createdFonts.size(), 3u);
    EXPECT_EQ(screen.host.createdFonts[2].faceName, "Tahoma");
    EXPECT_TRUE(screen.host.createdFonts[2].bold);
    EXPECT_EQ(screen.model.fonts[1], FakeScriptHost::FontNumber(3));
    EXPECT_EQ(screen.host.deletedFonts, std::vector<FontHandle>{FakeScriptHost::FontNumber(1)});
    // The text read under the first FONT1 now draws with the second.
    EXPECT_EQ(screen.model.texts[1]->font, FakeScriptHost::FontNumber(3));
    EXPECT_EQ(screen.model.texts[2]->font, FakeScriptHost::FontNumber(2));
    // A text sized by its font takes the new font's size; one sized by its
    // entry keeps it.
    EXPECT_EQ(screen.model.texts[1]->height, 40);
    EXPECT_EQ(screen.model.texts[2]->height, screen.host.lineHeight + 10);
    EXPECT_EQ(screen.model.texts[3]->height, 20);
    EXPECT_EQ(screen.model.texts[3]->width, 50);
}

TEST(BeginEntries, FailedFontKeepsTheSlot) {
    Screen screen;
    screen.Read("FONT1=Arial\n");
    screen.host.fontsFail = true;
    screen.Read("FONT1=Courier\nFONT2=Courier\n");
    EXPECT_EQ(screen.model.fonts[1], FakeScriptHost::FontNumber(1));
    EXPECT_EQ(screen.model.fonts[2], nullptr);
    EXPECT_TRUE(screen.host.deletedFonts.empty());
}

TEST(RestartPolicy, Lists) {
    struct Case {
        const char* list;
        std::vector<int> slots;  // slots that get the policy
    } cases[] = {
        {"3,5", {3, 5}},
        {",,3,,,5,", {3, 5}},
        {"32,-1,31", {31}},
        {"0", {0}},
        // A token without digits that is no keyword counts as slot 0.
        {"setup", {0}},
        {"YES,SHOW,CHECKBOX", {1, 2, 3}},
        {"HIDE", {}},
        {"99999999999,-99999999999", {}},
    };
    for (const auto& c : cases) {
        FakeMachine machine;
        ScreenModel screen;
        SetRestartPolicy(screen, c.list, kTrapRestart);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            bool listed = std::find(c.slots.begin(), c.slots.end(), slot) != c.slots.end();
            ASSERT_EQ(screen.buttons[slot] != nullptr, listed) << c.list << " slot " << slot;
            if (listed) {
                EXPECT_EQ(screen.buttons[slot]->restartPolicy, kTrapRestart);
            }
        }
    }
}

TEST(RestartPolicy, ListedAheadOfTheButtonsKeepsThePolicy) {
    Screen screen;
    screen.Read(
        "TRAPREBOOTBUTTONS=3,5\n"
        "ALLOWREBOOTBUTTONS=5,7\n"
        "[BUTTON]\n"
        "BUTTON3=PUSHBUTTON,1,2,3,4,0,0, , , , ,setup.exe\n"
        "BUTTON5=CHECKBOX,1,2,3,4\n");
    ScreenItem* three = screen.model.buttons[3].get();
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->restartPolicy, kTrapRestart);
    EXPECT_EQ(three->command, "setup.exe");
    EXPECT_TRUE(three->hasWindow);
    EXPECT_EQ(screen.model.buttons[5]->restartPolicy, kAllowRestart);
    EXPECT_EQ(screen.model.buttons[5]->kind, ButtonKind::kCheckBox);
    // Slot 7 keeps a blank, windowless record that never runs.
    ScreenItem* seven = screen.model.buttons[7].get();
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven->restartPolicy, kAllowRestart);
    EXPECT_FALSE(seven->hasWindow);
    EXPECT_TRUE(seven->command.empty());
    EXPECT_FALSE(seven->IsChainMember());
    EXPECT_EQ(screen.host.log, (std::vector<std::string>{"create 3", "create 5"}));
}
