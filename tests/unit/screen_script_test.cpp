#include "script/screen_script.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "fake_machine.h"

namespace {

// A host that records only what the reader itself does with it.
class RecordingHost : public ScriptHost {
public:
    FontHandle CreateScriptFont(const FontChanges&) override { return nullptr; }
    void DeleteScriptFont(FontHandle) override {}
    TextExtent MeasureText(FontHandle, const std::string&) override { return {}; }
    void SetBackgroundBitmap(const std::string&) override {}
    DibBitmap* GetButtonBitmap(const std::string&, int*, int*) override { return nullptr; }
    bool CreateButtonWindow(int) override { return true; }
    void DestroyButtonWindow(int) override {}
    void FocusButton(int) override {}
    void CheckSingleInstance(int runMultiple) override { checks.push_back(runMultiple); }
    std::vector<int> checks;
};

class StringLines : public LineSource {
public:
    explicit StringLines(const std::string& text, int failAfter = -1)
        : stream_(text), failAfter_(failAfter) {}
    bool NextLine(std::string* line) override {
        if (failAfter_ >= 0 && served_ == failAfter_) return false;
        if (!std::getline(stream_, *line)) return false;
        ++served_;
        return true;
    }

private:
    std::istringstream stream_;
    int failAfter_;
    int served_ = 0;
};

struct Reading {
    FakeMachine machine;
    ScreenModel screen;
    RecordingHost host;

    std::string Title(const std::string& script, unsigned short language = 0x0409,
                      unsigned short version = 6) {
        machine.language = language;
        screen.windowsVersion = version;
        ScreenScript reader(screen, host, machine);
        StringLines lines(script);
        reader.ReadLines(lines);
        return screen.title;
    }
};

}  // namespace

TEST(LanguageTag, ByPrimaryAndSublanguage) {
    struct Case {
        unsigned short id;
        const char* tag;
    } cases[] = {
        {0x0404, "[CHT]"}, {0x0804, "[CHS]"}, {0x1004, "[CHS]"}, {0x0406, "[DAN]"},
        {0x0407, "[GER]"}, {0x0807, "[GER]"}, {0x0409, "[ENG]"}, {0x0809, "[ENG]"},
        {0x040A, "[SPA]"}, {0x040B, "[FIN]"}, {0x040C, "[FRN]"}, {0x0410, "[ITA]"},
        {0x0411, "[JPN]"}, {0x0412, "[KOREAN]"}, {0x0413, "[DUT]"}, {0x0414, "[NOR]"},
        {0x0416, "[BRZ]"}, {0x0816, "[POR]"}, {0x041D, "[SWE]"}, {0x041E, "[THAI]"},
        {0x0408, "[DEFAULT]"}, {0x0000, "[DEFAULT]"}, {0x0419, "[DEFAULT]"},
    };
    for (const Case& c : cases) EXPECT_STREQ(LanguageTagFor(c.id), c.tag) << std::hex << c.id;
}

// Each case: a header line and whether a TITLE under it is read, for one
// system language and Windows version.
TEST(ScreenScript, HeaderFilters) {
    struct Case {
        const char* header;
        unsigned short language;
        unsigned short version;
        bool read;
    } cases[] = {
        {"[TEXT] [ENG]", 0x0407, 6, false},
        {"[TEXT] [ENG][GER]", 0x0407, 6, true},
        {"[TEXT] [DEFAULT]", 0x0407, 6, false},
        {"[TEXT]", 0x0407, 6, true},
        {"[TEXT] [DEFAULT]", 0x0408, 6, true},
        {"[TEXT] [ENG]", 0x0408, 6, false},
        {"[TEXT] [WIN98]", 0x0409, 3, false},
        {"[TEXT] [WIN98SE] [WIN2K]", 0x0409, 3, true},
        {"[TEXT] [WIN95]", 0x0409, 0, true},
        {"[TEXT] [WINNT] [GER]", 0x0409, 0, false},
        {"[TEXT] // [GER]", 0x0409, 6, true},
        {"[text] [eng] [win2k]", 0x0409, 6, true},
        {"[TEXT] [CHT]", 0x0404, 1, true},
        {"[TEXT] [CHS]", 0x0404, 1, false},
        {"[TEXT] [BRZ]", 0x0416, 2, true},
        {"[TEXT] [POR]", 0x0416, 2, false},
    };
    for (const Case& c : cases) {
        Reading reading;
        // The title moves to [BEGIN] under a header of the same tags.
        std::string header = c.header;
        std::string tags = header.substr(header.find(']') + 1);
        std::string script = "[BEGIN]" + tags + "\nTITLE=read\n[END]\n";
        EXPECT_EQ(reading.Title(script, c.language, c.version) == "read", c.read) << c.header;
    }
}

TEST(ScreenScript, BeginAndEndBrackets) {
    struct Case {
        const char* script;
        const char* title;
    } cases[] = {
        {"TITLE=none\n", ""},
        {"[TEXT]\nTITLE=x\n", ""},
        {"TITLE=early\n[BEGIN]\nTITLE=late\n", "late"},
        {"[begin]\nTITLE=lower\n", "lower"},
        {"  [Begin] // comment\nTITLE=mixed\n", "mixed"},
        {"[BEGIN]\nTITLE=one\n[END]\n[BEGIN]\nTITLE=two\n", "one"},
        {"[BEGIN]\n[END] [JPN]\n[BEGIN]\nTITLE=after\n", "after"},
        // Entries of an unknown section are skipped up to the next header.
        {"[BEGIN]\n[NOTES]\nTITLE=notes\n[BEGIN]\nTITLE=back\n", "back"},
        // A header without "]" changes nothing.
        {"[BEGIN]\n[NOTES\nTITLE=kept\n", "kept"},
        {"[BEGIN]\nTITLE\n=x\n", ""},
        {"[BEGIN]\n\t \n   TITLE = spaced \n", "spaced"},
        // The last TITLE counts.
        {"[BEGIN]\nTITLE=a\nTITLE=b\n", "b"},
        // A [BEGIN] rejected by its tags does not open the script.
        {"[BEGIN] [GER]\nTITLE=german\n[TEXT]\nTITLE=x\n", ""},
    };
    for (const Case& c : cases) {
        Reading reading;
        EXPECT_EQ(reading.Title(c.script), c.title) << c.script;
    }
}

TEST(ScreenScript, EntryKeysAndNumbers) {
    FakeMachine machine;
    ScreenModel screen;
    RecordingHost host;
    ScreenScript reader(screen, host, machine);
    reader.BeginSection("[BUTTON]", "");
    EXPECT_EQ(reader.CurrentSection(), "[BUTTON]");
    // Names and numbers as the handlers receive them are seen through
    // RUNMULTIPLE, whose number is ignored and whose name must match whole.
    struct Case {
        const char* line;
        int runMultiple;
    } cases[] = {
        {"RUNMULTIPLE=yes", 1},    {"runmultiple 3 = YES ", 1}, {"RUNMULTIPLE=no", 0},
        {"RUNMULTIPLEX=YES", 0},   {"=RUNMULTIPLE", 0},         {"RUN MULTIPLE=YES", 0},
        {" RUNMULTIPLE\t=\tYes", 1},
    };
    reader.BeginSection("[BEGIN]", "");
    for (const Case& c : cases) {
        ScreenModel fresh;
        ScreenScript r(fresh, host, machine);
        r.BeginSection("[BEGIN]", "");
        r.DispatchEntry(c.line);
        EXPECT_EQ(r.RunMultiple(), c.runMultiple) << c.line;
    }
}

TEST(ScreenScript, LoadChecksSingleInstanceOnce) {
    FakeMachine machine;
    ScreenModel screen;
    RecordingHost host;
    {
        ScreenScript reader(screen, host, machine);
        reader.Load("/nonexistent/AUTORUN.INF");
    }
    char path[] = "/tmp/screen_script_testXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::FILE* file = fdopen(fd, "wb");
    std::fputs("[BEGIN]\r\nTITLE=From File\r\nRUNMULTIPLE=YES\r\n[END]", file);
    std::fclose(file);
    ScreenScript reader(screen, host, machine);
    reader.Load(path);
    std::remove(path);
    EXPECT_EQ(screen.title, "From File");
    EXPECT_EQ(host.checks, (std::vector<int>{0, 1}));
}

TEST(ScreenScript, ReadErrorKeepsWhatWasRead) {
    FakeMachine machine;
    ScreenModel screen;
    RecordingHost host;
    ScreenScript reader(screen, host, machine);
    StringLines lines("[BEGIN]\nTITLE=first\nTITLE=second\n", 2);
    reader.ReadLines(lines);
    EXPECT_EQ(screen.title, "first");
}

TEST(TextLineSource, TextModeLines) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"lone\rcr\n", {"lone\rcr"}},
        {"end\r", {"end\r"}},
        {"", {}},
        {std::string(10000, 'x') + "\ny", {std::string(10000, 'x'), "y"}},
    };
    for (const Case& c : cases) {
        TextLineSource source(c.bytes);
        std::vector<std::string> lines;
        std::string line;
        while (source.NextLine(&line)) lines.push_back(line);
        EXPECT_EQ(lines, c.lines);
    }
}

// Reading through the machine's files: reads cut anywhere, sizes that
// cannot be told, files longer than any buffer, and read errors, which keep
// the lines before the one they cut.
TEST(ScreenScript, LoadReadsThroughMachineFiles) {
    std::string filler;
    for (int i = 0; i < 5000; ++i) filler += "KEY" + std::to_string(i) + "=some value\r\n";
    const std::string twoTitles = "[BEGIN]\r\nTITLE=first\r\nTITLE=second\r\n[END]";
    std::string largest = "[BEGIN]\r\nTITLE=big\r\n";
    largest.resize(kLargestScriptBytes, ' ');
    struct Case {
        ScriptedBytes file;
        std::string title;
    } cases[] = {
        {{"", 1 << 20, -1, true}, ""},
        {{twoTitles, 1 << 20, -1, true}, "second"},
        {{twoTitles, 7, -1, false}, "second"},
        {{twoTitles, 1, 0, true}, ""},
        {{twoTitles, 1, 30, true}, "first"},   // inside the second title
        {{twoTitles, 1, 4, true}, ""},         // inside [BEGIN]
        {{"[BEGIN]\r\n" + filler + "TITLE=last\r\n", 4096, -1, true}, "last"},
        {{"[BEGIN]\r\n" + filler + "TITLE=last\r\n", 13, -1, false}, "last"},
        {{"[BEGIN]\r\nTITLE=early\r\n" + filler + "TITLE=last\r\n", 4096, 70000, true},
         "early"},
        // Larger than any script: none is read, whether told or found.
        {{largest, 1 << 20, -1, true}, "big"},
        {{largest + " ", 1 << 20, -1, true}, ""},
        {{largest + " ", 1 << 20, -1, false}, ""},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.scriptedFiles["D:\\AUTORUN.INF"] = c.file;
        ScreenModel screen;
        RecordingHost host;
        ScreenScript reader(screen, host, machine);
        reader.Load("D:\\AUTORUN.INF");
        EXPECT_EQ(screen.title, c.title) << c.file.bytes.substr(0, 30) << " chunk " << c.file.chunk
                                         << " failing at " << c.file.failAt;
        EXPECT_EQ(host.checks, std::vector<int>{0});
    }
}

TEST(StdioInputFile, OpensReadsAndEnds) {
    EXPECT_EQ(OpenStdioInputFile("/nonexistent/AUTORUN.INF"), nullptr);
    char path[] = "/tmp/stdio_input_testXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    std::unique_ptr<InputFile> file = OpenStdioInputFile(path);
    std::remove(path);
    ASSERT_NE(file, nullptr);
    char buffer[16];
    EXPECT_EQ(file->Size(), 0);
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 0);
}

// What an editor saves: the byte-order mark before the first header, UTF-8
// texts, and a Ctrl-Z after the end that hides what follows.
TEST(ScreenScript, LoadTakesUtf8FileUpToCtrlZ) {
    FakeMachine machine;
    machine.ansiCharacters = {{u'\u00FC', "\xFC"}};
    ScreenModel screen;
    RecordingHost host;
    char path[] = "/tmp/screen_script_testXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::FILE* file = fdopen(fd, "wb");
    std::fputs("\xEF\xBB\xBF[BEGIN]\r\nTITLE=Gr\xC3\xBC\xC3\x9F" "e\r\n\x1A\r\nTITLE=After\r\n", file);
    std::fclose(file);
    ScreenScript reader(screen, host, machine);
    reader.Load(path);
    std::remove(path);
    EXPECT_EQ(screen.title, "Gr\xFC?e");
}
