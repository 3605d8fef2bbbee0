#include "script/script_text.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(DecodeUtf8, SequencesAndFaults) {
    struct Case {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"A\r\n", u"A\r\n"},
        {"\xC2\x80\xDF\xBF", u"\u0080\u07FF"},
        {"\xE0\xA0\x80\xEF\xBF\xBF", u"\u0800\uFFFF"},
        {"\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},
        {"\xE8\xA1\xA8", u"\u8868"},
        // Outside the 16-bit range: no ANSI code page holds it.
        {"\xF0\x9F\x98\x80!", u"?!"},
        {"\xF4\x8F\xBF\xBF", u"?"},
        // Each byte that starts no valid sequence is one "?".
        {"\x80", u"?"},
        {"\xC3", u"?"},
        {"\xC3(", u"?("},
        {"\xC0\xAF", u"??"},          // overlong "/"
        {"\xE0\x9F\xBF", u"???"},     // overlong
        {"\xED\xA0\x80", u"???"},     // surrogate
        {"\xF4\x90\x80\x80", u"????"}, // beyond U+10FFFF
        {"\xF5\x80", u"??"},
        {"\xFCx", u"?x"},
        {"\xE8\xA1", u"??"},  // cut short at the end
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << c.bytes;
}

TEST(ScriptTextFromBytes, Utf8IsConvertedOnceAnsiKept) {
    struct Case {
        std::string bytes;
        std::string text;
        bool converted;
    } cases[] = {
        {"[BEGIN]\r\nTITLE=A\r\n", "[BEGIN]\r\nTITLE=A\r\n", false},
        {"", "", false},
        // Already ANSI: a byte that starts no UTF-8 sequence.
        {"TITLE=Gr\xFC\xDF" "e", "TITLE=Gr\xFC\xDF" "e", false},
        {"TITLE=\x95\x5C", "TITLE=\x95\x5C", false},
        // Valid UTF-8 up to one ANSI byte is ANSI.
        {"\xC3\xBC=\xFC", "\xC3\xBC=\xFC", false},
        {"\xED\xA0\x80", "\xED\xA0\x80", false},
        {"x\xC3", "x\xC3", false},
        // UTF-8 without a byte-order mark, with a multi-byte sequence.
        {"TITLE=Gr\xC3\xBC\xC3\x9F" "e\r\n", "TITLE=Gr\xFC\xDF" "e\r\n", true},
        {"TITLE=\xE8\xA1\xA8\\X", "TITLE=\x95\x5C\\X", true},
        {"TITLE=\xE2\x82\xAC 5", "TITLE=? 5", true},  // the code page has no euro sign
        // The byte-order mark goes, and marks UTF-8 even when all else is ASCII.
        {"\xEF\xBB\xBF[BEGIN]\r\n", "[BEGIN]\r\n", true},
        {"\xEF\xBB\xBF", "", true},
        {"\xEF\xBB\xBF" "A\xFC" "B", "A?B", true},
        // A mark inside the text, where two files with one were joined, goes too.
        {"A\xEF\xBB\xBF", "A", true},
        {"\xEF\xBB\xBF[BEGIN]\r\n\xEF\xBB\xBF[END]", "[BEGIN]\r\n[END]", true},
        // Ctrl-Z ends the text before anything else is decided.
        {"[BEGIN]\r\n\x1ATITLE=late\r\n", "[BEGIN]\r\n", false},
        {"\x1A\xEF\xBB\xBF", "", false},
        {"A\x1A\xC3\xBC", "A", false},
        {"\xC3\xBC\x1A\xFC", "\xFC", true},
        {"\xEF\xBB\xBF" "A\x1A" "B", "A", true},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.ansiCharacters = {{u'\u00FC', "\xFC"}, {u'\u00DF', "\xDF"}, {u'\u8868', "\x95\x5C"}};
        machine.convertedText = u"(not asked)";
        EXPECT_EQ(ScriptTextFromBytes(machine, c.bytes), c.text) << c.bytes;
        EXPECT_EQ(machine.convertedText != u"(not asked)", c.converted) << c.bytes;
    }
}

TEST(ScriptTextFromBytes, FarEastBestFitsOnEveryCodePageTheSame) {
    struct Case {
        unsigned codePage;
        std::string bytes;
        std::u16string converted;
    } cases[] = {
        // Shift-JIS and Johab read by other systems' tables: 0x5C and 0x7E
        // come back as the yen or won sign and the overline.
        {932, "INTROBITMAP=PICS\xC2\xA5" "BACK.BMP\xC2\xA5r\xE2\x80\xBE", u"INTROBITMAP=PICS\\BACK.BMP\\r~"},
        {949, "A\xE2\x82\xA9" "B\xE2\x80\xBE", u"A\\B~"},
        // The wave dash, em dash and minus sign where 932 has other forms.
        {932, "\xE3\x80\x9C\xE2\x80\x94\xE2\x88\x92", u"\uFF5E\u2015\uFF0D"},
        {936, "\xC2\xA5", u"\uFFE5"},
        // Other code pages hold these characters, or do not fit them.
        {1252, "\xC2\xA5\xE2\x82\xA9\xE2\x80\xBE", u"\u00A5\u20A9\u203E"},
        {932, "\xE2\x82\xA9", u"\u20A9"},
        {949, "\xC2\xA5", u"\uFFE5"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.codePage = c.codePage;
        ScriptTextFromBytes(machine, c.bytes);
        EXPECT_EQ(machine.convertedText, c.converted) << c.codePage << " " << c.bytes;
    }
}
