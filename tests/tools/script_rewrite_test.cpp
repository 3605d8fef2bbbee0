#include "design/script_rewrite.h"

#include <gtest/gtest.h>

namespace {

struct RewriteCase {
    const char* what;
    std::string before;
    ScriptEdits edits;
    std::string after;  // empty: refused
};

ScriptEdits Field(int line, int field, const std::string& text) {
    ScriptEdits edits;
    edits.fields[line][field] = text;
    return edits;
}

ScriptEdits Two(int line, int first, const std::string& a, int second, const std::string& b) {
    ScriptEdits edits = Field(line, first, a);
    edits.fields[line][second] = b;
    return edits;
}

ScriptEdits Deleted(int line) {
    ScriptEdits edits;
    edits.deletedLines.insert(line);
    return edits;
}

ScriptEdits Added(int afterLine, const std::string& header, const std::string& text) {
    ScriptEdits edits;
    edits.added.push_back({afterLine, header, text, {}, false});
    return edits;
}

const std::string kButtons = "; screen\r\n[button]\r\nbutton1 = PUSHBUTTON, 40 ,146,0,0\r\n\r\n";

TEST(ScriptRewrite, ChangesOnlyWhatWasEdited) {
    const RewriteCase cases[] = {
        {"no edit keeps every byte", "\xEF\xBB\xBF[BEGIN]\nTITLE=x\x1A", {}, "\xEF\xBB\xBF[BEGIN]\nTITLE=x\x1A"},
        {"a field keeps the blanks around its neighbours", kButtons, Field(3, 2, "60"),
         "; screen\r\n[button]\r\nbutton1 = PUSHBUTTON,60,146,0,0\r\n\r\n"},
        {"two fields of one line", kButtons, Two(3, 2, "60", 3, "156"),
         "; screen\r\n[button]\r\nbutton1 = PUSHBUTTON,60,156,0,0\r\n\r\n"},
        {"a field past the end is reached over blanks", "T=a\n", Field(1, 4, "3"), "T=a, , ,3\n"},
        {"a field past trailing commas", "T=a,,\n", Field(1, 3, "3"), "T=a,, ,3\n"},
        {"an empty field is written blank", "T=a,b,c\n", Field(1, 2, ""), "T=a, ,c\n"},
        {"runs of commas count as one separator", "T=,a,,b,c\n", Field(1, 2, "B"), "T=,a,,B,c\n"},
        {"a message keeps its commas", "M=a,b\n", Field(1, kWholeValue, "x, y"), "M=x, y\n"},
        {"renumbering keeps the value", "  BUTTON3=PUSH\n", Field(1, kEntryKey, "BUTTON4"), "  BUTTON4=PUSH\n"},
        {"renumbering keeps the name as written", "Button 01 = PUSH\n", Field(1, kEntryKey, "BUTTON12"),
         "Button 12 = PUSH\n"},
        {"renaming to another name writes it", "TEXT1=a\n", Field(1, kEntryKey, "BUTTON1"), "BUTTON1=a\n"},
        {"the UTF-8 mark stays before line 1", "\xEF\xBB\xBFT=a\n", Field(1, 1, "\xC3\xA9"),
         "\xEF\xBB\xBFT=\xC3\xA9\n"},
        {"a last line without a line end stays so", "A=1\nT=a", Field(2, 1, "b"), "A=1\nT=b"},
        {"a deleted line takes its line end", kButtons, Deleted(3), "; screen\r\n[button]\r\n\r\n"},
        {"a new entry after a line, in the file's line ends", kButtons, Added(3, "", "BUTTON2=X"),
         "; screen\r\n[button]\r\nbutton1 = PUSHBUTTON, 40 ,146,0,0\r\nBUTTON2=X\r\n\r\n"},
        {"a new section at the end of a file that has no last line end", "A=1\nB=2",
         Added(0, "[TEXT]", "TEXT1=x"), "A=1\nB=2\n[TEXT]\nTEXT1=x\n"},
        {"a comma inside a field is refused", "T=a\n", Field(1, 1, "a,b"), ""},
        {"a line break inside a value is refused", "T=a\n", Field(1, kWholeValue, "a\r\nb"), ""},
        {"a line without an entry is refused", "[TEXT]\n", Field(1, 1, "a"), ""},
        {"a line past the end is refused", "T=a\n", Field(2, 1, "a"), ""},
    };
    for (const RewriteCase& c : cases) {
        std::string result, problem;
        bool written = RewriteScript(c.before, c.edits, &result, &problem);
        if (c.after.empty()) {
            EXPECT_FALSE(written) << c.what;
            EXPECT_FALSE(problem.empty()) << c.what;
        } else {
            EXPECT_TRUE(written) << c.what << ": " << problem;
            EXPECT_EQ(result, c.after) << c.what;
        }
    }
}

// Edits of a new entry land on it, and each line of the result says where
// it came from, so that the page's next edit finds its line.
TEST(ScriptRewrite, NewEntriesAreEditedAndTraced) {
    ScriptEdits edits = Added(1, "", "B2=x,1,2");
    edits.added[0].fields[2] = "5";
    edits.added.push_back({0, "[TEXT]", "T1=a", {}, false});
    edits.added.push_back({1, "", "B3=gone", {}, true});
    edits.deletedLines.insert(2);
    std::string result, problem;
    std::vector<int> origins;
    ASSERT_TRUE(RewriteScript("B1=y\nC=1\nD=2\n", edits, &result, &problem, &origins)) << problem;
    EXPECT_EQ(result, "B1=y\nB2=x,5,2\nD=2\n[TEXT]\nT1=a\n");
    EXPECT_EQ(origins, (std::vector<int>{1, -1, 3, 0, -2}));
}

// New entries go where they are placed: before the first line, after a
// line with a header of their own, or right before another new entry, whose
// place a deleted entry keeps.
TEST(ScriptRewrite, NewEntriesGoWherePlaced) {
    auto entry = [](int afterLine, const std::string& header, const std::string& text) {
        NewEntry made;
        made.afterLine = afterLine;
        made.header = header;
        made.text = text;
        return made;
    };
    auto atStart = [&](const std::string& header, const std::string& text) {
        NewEntry made = entry(0, header, text);
        made.atStart = true;
        return made;
    };
    auto before = [&](int other, const std::string& header, const std::string& text) {
        NewEntry made = entry(0, header, text);
        made.before = other;
        return made;
    };
    NewEntry gone = entry(1, "[X]", "G=1");
    gone.deleted = true;
    struct Case {
        const char* what;
        std::vector<NewEntry> added;
        std::string after;
        std::vector<int> origins;
    } cases[] = {
        {"a header alone at the start", {atStart("[BEGIN]", "")}, "[BEGIN]\nA=1\nB=2", {-1, 1, 2}},
        {"a header after a line", {entry(1, "[TEXT]", "T1=a")}, "A=1\n[TEXT]\nT1=a\nB=2", {1, 0, -1, 2}},
        {"before a new entry and its header",
         {entry(0, "[BUTTON]", "B1=x"), before(0, "[TEXT]", "T1=a")},
         "A=1\nB=2\n[TEXT]\nT1=a\n[BUTTON]\nB1=x\n", {1, 2, 0, -2, 0, -1}},
        {"before a deleted entry", {gone, entry(1, "", "C=3"), before(0, "", "T1=a")},
         "A=1\nT1=a\nC=3\nB=2", {1, -3, -2, 2}},
    };
    for (const Case& c : cases) {
        ScriptEdits edits;
        edits.added = c.added;
        std::string result, problem;
        std::vector<int> origins;
        ASSERT_TRUE(RewriteScript("A=1\nB=2", edits, &result, &problem, &origins)) << c.what << ": " << problem;
        EXPECT_EQ(result, c.after) << c.what;
        EXPECT_EQ(origins, c.origins) << c.what;
    }
}

}  // namespace
