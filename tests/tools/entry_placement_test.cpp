// New entries placed as an author adds them one after another in the
// designer: each lands where the reader takes it as meant.
#include "design/entry_placement.h"

#include <gtest/gtest.h>

#include "design/script_rewrite.h"
#include "fake_machine.h"

namespace {

struct Added {
    PlacementRequest request;
    std::string text;
};

// The script after the additions, each placed in the text the ones before
// it made.
std::string AfterAdding(const std::string& script, const std::vector<Added>& additions) {
    FakeMachine machine;
    ScriptEdits edits;
    std::string text = script, problem;
    for (const Added& addition : additions) {
        std::vector<int> origins;
        EXPECT_TRUE(RewriteScript(script, edits, &text, &problem, &origins)) << problem;
        std::vector<NewPlace> places = PlaceNewEntry(LayOutScript(machine, ScriptLineTexts(text)), addition.request);
        for (std::size_t i = 0; i < places.size(); ++i) {
            NewEntryAnchor anchor = AnchorOf(places[i].beforeLine, origins);
            NewEntry entry;
            entry.afterLine = anchor.afterLine;
            entry.atStart = anchor.atStart;
            entry.before = anchor.before;
            entry.header = places[i].header;
            entry.text = i + 1 == places.size() ? addition.text : "";
            edits.added.push_back(entry);
        }
    }
    EXPECT_TRUE(RewriteScript(script, edits, &text, &problem)) << problem;
    return text;
}

const std::string kScreen =
    "[BEGIN]\nTITLE=t\n\n[TEXT]\nTEXT1=Go\n[BUTTON]\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO, ,1\n";

TEST(EntryPlacement, EachNewEntryWhereTheReaderNeedsIt) {
    struct Case {
        const char* what;
        std::string script;
        std::vector<Added> additions;
        std::string after;
    } cases[] = {
        {"a button on an empty script gets [BEGIN] first", "", {{{"[BUTTON]", "", 1}, "BUTTON1=x"}},
         "[BEGIN]\r\n[BUTTON]\r\nBUTTON1=x\r\n"},
        {"a text added after a button goes before it", "",
         {{{"[BUTTON]", "", 1}, "BUTTON1=x"}, {{"[TEXT]", "", 1}, "TEXT1=a"}},
         "[BEGIN]\r\n[TEXT]\r\nTEXT1=a\r\n[BUTTON]\r\nBUTTON1=x\r\n"},
        {"a [BEGIN] key goes into [BEGIN]", kScreen, {{{"[BEGIN]", "", 1}, "FONT1=Tahoma,14"}},
         "[BEGIN]\nTITLE=t\nFONT1=Tahoma,14\n\n[TEXT]\nTEXT1=Go\n[BUTTON]\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO, ,1\n"},
        {"a text joins the texts", kScreen, {{{"[TEXT]", "", 2}, "TEXT2=b"}},
         "[BEGIN]\nTITLE=t\n\n[TEXT]\nTEXT1=Go\nTEXT2=b\n[BUTTON]\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO, ,1\n"},
        {"a German text goes before the text it overrides", kScreen, {{{"[TEXT]", "[GER]", 1}, "TEXT1=Los"}},
         "[BEGIN]\nTITLE=t\n\n[TEXT] [GER]\nTEXT1=Los\n[TEXT]\nTEXT1=Go\n[BUTTON]\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO, ,1\n"},
        {"a button's section comes after it and before [END]", kScreen + "[END]\nrest",
         {{{"[MESSAGE]", "", 1}, "BUTTON1=m"}},
         kScreen + "[MESSAGE]\nBUTTON1=m\n[END]\nrest"},
        {"a button's section before the button is not joined", "[BEGIN]\n[MESSAGE]\nBUTTON5=x\n[BUTTON]\nBUTTON1=y\n",
         {{{"[MESSAGE]", "", 1}, "BUTTON1=m"}},
         "[BEGIN]\n[MESSAGE]\nBUTTON5=x\n[BUTTON]\nBUTTON1=y\n[MESSAGE]\nBUTTON1=m\n"},
        {"a button with its caption, the text first", "[BEGIN]\n",
         {{{"[TEXT]", "", 1}, "TEXT1=a"}, {{"[BUTTON]", "", 1, 1}, "BUTTON1=x, , , , , , , ,1"},
          {{"[TEXT]", "", 2}, "TEXT2=b"}},
         "[BEGIN]\n[TEXT]\nTEXT1=a\nTEXT2=b\n[BUTTON]\nBUTTON1=x, , , , , , , ,1\n"},
        {"a Windows 98 button in its own section", kScreen, {{{"[BUTTON]", "[WIN98]", 2}, "BUTTON2=x"}},
         kScreen + "[BUTTON] [WIN98]\nBUTTON2=x\n"},
        // Words after a header's name are no tags: the reader reads such a
        // section on every system.
        {"a [BEGIN] key joins a [BEGIN] with a comment", "[Begin] ; settings\nTITLE=t\n[End]\n",
         {{{"[BEGIN]", "", 1}, "FONT1=a"}}, "[Begin] ; settings\nTITLE=t\nFONT1=a\n[End]\n"},
        {"a text joins [Text] with words after it", "[BEGIN]\n[Text] captions\nTEXT1=a\n[BUTTON]\n",
         {{{"[TEXT]", "", 2}, "TEXT2=b"}}, "[BEGIN]\n[Text] captions\nTEXT1=a\nTEXT2=b\n[BUTTON]\n"},
        {"a German text joins [text] [ger] with a comment", "[BEGIN]\n[text] [ger] ; German\nTEXT1=a\n[TEXT]\nTEXT1=b\n",
         {{{"[TEXT]", "[GER]", 2}, "TEXT2=c"}}, "[BEGIN]\n[text] [ger] ; German\nTEXT1=a\nTEXT2=c\n[TEXT]\nTEXT1=b\n"},
        {"tags in another order are the same systems", "[BEGIN]\n[BUTTON] [GER]  [WIN98]\nBUTTON1=a\n",
         {{{"[BUTTON]", "[WIN98] [GER]", 2}, "BUTTON2=b"}}, "[BEGIN]\n[BUTTON] [GER]  [WIN98]\nBUTTON1=a\nBUTTON2=b\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(AfterAdding(c.script, c.additions), c.after) << c.what;
}

}  // namespace
