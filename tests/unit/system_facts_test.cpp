#include "script/system_facts.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "fake_machine.h"

TEST(ResolveScriptPath, AgainstProgramLocation) {
    FakeMachine machine;
    struct Case {
        const char* program;
        const char* text;
        const char* resolved;
    } cases[] = {
        {"D:\\SETUP\\AUTORUN.EXE", "README.TXT", "D:\\SETUP\\README.TXT"},
        {"D:\\SETUP\\AUTORUN.EXE", "..\\DATA\\A.BMP", "D:\\DATA\\A.BMP"},
        {"D:\\SETUP\\AUTORUN.EXE", "..\\..\\A.BMP", "D:\\A.BMP"},
        {"D:\\SETUP\\AUTORUN.EXE", "\\DRIVERS\\SETUP.EXE", "D:\\DRIVERS\\SETUP.EXE"},
        {"D:\\SETUP\\AUTORUN.EXE", ":\\DRIVERS\\SETUP.EXE", "D:\\DRIVERS\\SETUP.EXE"},
        {"D:\\SETUP\\AUTORUN.EXE", "C:\\TOOLS\\X.EXE", "C:\\TOOLS\\X.EXE"},
        {"D:\\SETUP\\AUTORUN.EXE", "SETUP.EXE C:\\TEMP", "SETUP.EXE C:\\TEMP"},
        {"D:\\SETUP\\AUTORUN.EXE", "", ""},
        {"D:\\SETUP\\AUTORUN.EXE", "  \tREADME.TXT", "D:\\SETUP\\README.TXT"},
        {"D:\\SETUP\\AUTORUN.EXE", "DATA\\\\A.BMP", "DATA\\\\A.BMP"},
        {"D:\\SETUP\\AUTORUN.EXE", "DATA/A.BMP", "D:\\SETUP\\DATA/A.BMP"},
        {"D:\\A\\B\\C\\AUTORUN.EXE", "..\\..\\X", "D:\\A\\X"},
        {"D:\\AUTORUN.EXE", "..\\A.BMP", "D:\\A.BMP"},
        {"D:\\AUTORUN.EXE", "A.BMP", "D:\\A.BMP"},
        {"\\\\SERVER\\SHARE\\AUTORUN.EXE", "\\X.EXE", "\\\\SERVER\\X.EXE"},
        {"\\\\SERVER\\SHARE\\AUTORUN.EXE", "X.EXE", "\\\\SERVER\\SHARE\\X.EXE"},
        {"\\\\SERVER\\SHARE\\AUTORUN.EXE", "..\\..\\X.EXE", "\\\\SERVER\\X.EXE"},
        // A program path without any root leaves names alone.
        {"AUTORUN.EXE", "A.BMP", "A.BMP"},
    };
    for (const Case& c : cases) {
        machine.programFile = c.program;
        EXPECT_EQ(ResolveScriptPath(c.text), c.resolved) << c.program << " + " << c.text;
    }
}

// In a double-byte code page the second byte of a character may be 0x5C:
// "\x95\x5C" is one character of code page 932, in which 0x83 and 0x95 are
// lead bytes; in a single-byte code page the same bytes hold a backslash.
TEST(ResolveScriptPath, TrailByteIsNoBackslash) {
    FakeMachine machine;
    struct Case {
        bool doubleByte;
        const char* program;
        const char* text;
        const char* resolved;
    } cases[] = {
        {true, "D:\\SETUP\\AUTORUN.EXE", "\x95\x5C\\A.BMP", "D:\\SETUP\\\x95\x5C\\A.BMP"},
        {false, "D:\\SETUP\\AUTORUN.EXE", "\x95\x5C\\A.BMP", "\x95\x5C\\A.BMP"},
        {true, "D:\\SETUP\\AUTORUN.EXE", "\x83\x5C", "D:\\SETUP\\\x83\x5C"},
        {true, "D:\\SETUP\\AUTORUN.EXE", "A\x95", "D:\\SETUP\\A\x95"},
        {true, "D:\\\x95\x5C\\AUTORUN.EXE", "..\\A.BMP", "D:\\A.BMP"},
        {true, "D:\\\x95\x5C\\\x83\x5C\\AUTORUN.EXE", "..\\A.BMP", "D:\\\x95\x5C\\A.BMP"},
        {false, "D:\\\x95\x5C\\AUTORUN.EXE", "..\\A.BMP", "D:\\\x95\\A.BMP"},
        {true, "D:\\SETUP\\\x83\x5C.EXE", "A.BMP", "D:\\SETUP\\A.BMP"},
        {true, "\\\\\x95\x5C\\SHARE\\AUTORUN.EXE", "\\X.EXE", "\\\\\x95\x5C\\X.EXE"},
    };
    for (const Case& c : cases) {
        machine.leadBytes = c.doubleByte ? std::set<unsigned char>{0x83, 0x95} : std::set<unsigned char>{};
        machine.programFile = c.program;
        EXPECT_EQ(ResolveScriptPath(c.text), c.resolved) << c.program << " + " << c.text;
    }
    machine.leadBytes = {0x83, 0x95};
    EXPECT_EQ(DirectoryOf("D:\\\x95\x5C\\X.EXE"), "D:\\\x95\x5C");
    EXPECT_EQ(DirectoryOf("D:\\SETUP\\\x83\x5C"), "D:\\SETUP");
    EXPECT_EQ(ProgramNameOf("C:\\DISC\\\x83\x5C.EXE"), "\x83\x5C");
}

TEST(DirectoryOf, KeepsRootBackslash) {
    FakeMachine machine;
    machine.programFile = "C:\\SETUP\\AUTORUN.EXE";
    EXPECT_EQ(DirectoryOf(nullptr), "C:\\SETUP");
    EXPECT_EQ(DirectoryOf("D:\\AUTORUN.EXE"), "D:\\");
    EXPECT_EQ(DirectoryOf("C:\\X.EXE"), "C:\\");
    EXPECT_EQ(DirectoryOf("NAME.EXE"), "NAME.EXE");
    EXPECT_EQ(DirectoryOf("\\X.EXE"), "");
    EXPECT_EQ(DirectoryOf("C:\\SETUP.EXE /D=C:\\TEMP"), "C:\\SETUP.EXE /D=C:\\");
    std::string longPath = "C:\\" + std::string(2000, 'd') + "\\X.EXE";
    EXPECT_EQ(DirectoryOf(longPath.c_str()), "C:\\" + std::string(2000, 'd'));
}

TEST(ProgramNameOf, NameWithoutDirectoryAndExtension) {
    FakeMachine machine;
    EXPECT_EQ(ProgramNameOf("C:\\DISC\\AUTORUN.EXE"), "AUTORUN");
    EXPECT_EQ(ProgramNameOf("C:\\DISC\\Setup.Menu.exe"), "Setup.Menu");
    EXPECT_EQ(ProgramNameOf("Z:/disc/start.exe"), "start");
    EXPECT_EQ(ProgramNameOf("D:START.EXE"), "START");
}

TEST(FileExists, FilesNotDirectories) {
    FakeMachine machine;
    machine.files = {"C:\\A.TXT"};
    machine.directories = {"C:\\DIR"};
    EXPECT_TRUE(FileExists("C:\\A.TXT"));
    EXPECT_FALSE(FileExists("C:\\DIR"));
    EXPECT_FALSE(FileExists("C:\\MISSING"));
}

TEST(ReadMachineSetting, OnlyUsableStrings) {
    FakeMachine machine;
    const std::string key = "SOFTWARE\\X";
    auto raw = [&](const std::string& name, unsigned long type, const std::string& bytes) {
        RegistryValue value;
        value.type = type;
        value.data.assign(bytes.begin(), bytes.end());
        machine.keys.insert(key);
        machine.values[key + "|" + name] = value;
    };
    raw("plain", kRegString, std::string("C:\\SUPPORT\0", 11));
    raw("expand", kRegExpandString, std::string("C:\\E\0", 5));
    raw("unterminated", kRegString, "C:\\NOEND");
    raw("dword", 4, std::string("\x01\x00\x00\x00", 4));
    raw("binary", 3, "C:\\BIN");
    raw("empty", kRegString, std::string("\0", 1));
    raw("long", kRegString, std::string(600, 'x') + '\0');
    raw("fits", kRegString, std::string(519, 'y') + '\0');
    raw("embedded", kRegString, std::string("AB\0CD\0", 6));
    struct Case {
        const char* key;
        const char* name;
        bool ok;
        std::string text;
    } cases[] = {
        {"SOFTWARE\\X", "plain", true, "C:\\SUPPORT"},
        {"SOFTWARE\\X", "expand", true, "C:\\E"},
        {"SOFTWARE\\X", "unterminated", true, "C:\\NOEND"},
        {"SOFTWARE\\X", "dword", false, ""},
        {"SOFTWARE\\X", "binary", false, ""},
        {"SOFTWARE\\X", "empty", false, ""},
        {"SOFTWARE\\X", "long", false, ""},
        {"SOFTWARE\\X", "fits", true, std::string(519, 'y')},
        {"SOFTWARE\\X", "embedded", true, "AB"},
        {"SOFTWARE\\X", "missing", false, ""},
        {"SOFTWARE\\NOKEY", "plain", false, ""},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(ReadMachineSetting(c.key, c.name, &out), c.ok) << c.name;
        EXPECT_EQ(out, c.text) << c.name;
    }
}

TEST(ClassifyWindowsVersion, Codes) {
    struct Case {
        unsigned long platform, major, minor, build;
        unsigned short code;
    } cases[] = {
        {1, 4, 0, 0x040003B6, 1},  {1, 4, 10, 0x040A07CE, 2}, {1, 4, 10, 0x040A08AD, 2},
        {1, 4, 10, 0x040A08AE, 3}, {1, 4, 89, 0x04590000, 3}, {1, 4, 90, 0x045A0BB8, 4},
        {2, 3, 51, 1057, 5},       {2, 4, 0, 1381, 5},        {2, 5, 0, 2195, 6},
        {2, 5, 1, 2600, 6},        {2, 6, 1, 7601, 0},        {2, 10, 0, 19045, 0},
        {0, 3, 10, 0, 0},          {3, 5, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWindowsVersion(c.platform, c.major, c.minor, c.build), c.code)
            << c.platform << " " << c.major << "." << c.minor << " " << c.build;
}

TEST(Startup, CommandLineAndScriptPath) {
    FakeMachine machine;
    machine.programFile = "E:\\AUTORUN.EXE";
    struct Case {
        const char* commandLine;
        const char* script;
    } cases[] = {
        {"E:\\AUTORUN.EXE", "E:\\AUTORUN.INF"},
        {"\"E:\\AUTORUN.EXE\"", "E:\\AUTORUN.INF"},
        {"\"E:\\AUTORUN.EXE\"   \t ", "E:\\AUTORUN.INF"},
        {"AUTORUN.EXE  c:\\temp\\my disc.inf  ", "C:\\TEMP\\MY DISC.INF"},
        {"\"E:\\My Disc\\AUTORUN.EXE\" other.inf", "OTHER.INF"},
        {"AUTORUN \"c:\\x.inf\"", "\"C:\\X.INF\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScriptPathFor(CommandLineArguments(c.commandLine), "AUTORUN"), c.script)
            << c.commandLine;
    }
}

TEST(Startup, WaitLibraryPerVersion) {
    const char* expected[] = {"SETUP_95.dll", "SETUP_95.dll", "SETUP_95.dll", "SETUP_95.dll",
                              "SETUP_95.dll", "SETUP_NT.dll", "SETUP_NT.dll"};
    for (unsigned short code = 0; code <= 6; ++code)
        EXPECT_EQ(WaitLibraryName("SETUP", code), expected[code]) << code;
}

TEST(Startup, IntroSoundAndMarker) {
    FakeMachine machine;
    machine.programFile = "E:\\AUTORUN.EXE";
    struct Case {
        const char* value;
        const char* file;
        int seconds;
    } cases[] = {
        {"INTRO.WAV,10", "E:\\INTRO.WAV", 10},
        {"INTRO.WAV", "E:\\INTRO.WAV", 0},
        {",,INTRO.WAV,,3", "E:\\INTRO.WAV", 3},
        {"", "", 0},
        {"C:\\S.WAV, X", "C:\\S.WAV", 0},
    };
    for (const Case& c : cases) {
        IntroSound sound = SplitIntroSound(c.value);
        EXPECT_EQ(sound.file, c.file) << c.value;
        EXPECT_EQ(sound.seconds, c.seconds) << c.value;
    }
    EXPECT_EQ(StopMarkerPath("C:\\SUPPORT"), "C:\\SUPPORT\\Qmstop.txt");
    EXPECT_EQ(DeleteFailureText(5, "C:\\T\\A1.INF"), "Access to C:\\T\\A1.INF was denied.");
    EXPECT_EQ(DeleteFailureText(12345, "X"), "An unexpected error occurred while deleting X.");
}

TEST(Startup, ResumeScriptIsUsedOnlyWhenItsChainStarts) {
    struct Case {
        bool resumed, autoRun, closing;
        StartPlan plan;
    } cases[] = {
        {true, false, false, StartPlan::kDeleteAndResume},
        {true, false, true, StartPlan::kKeepResume},  // no wait library, or another screen open
        {true, true, true, StartPlan::kKeepResume},
        {false, true, false, StartPlan::kRunChain},
        {false, false, false, StartPlan::kPlayIntro},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanStart(c.resumed, c.autoRun, c.closing), c.plan)
            << c.resumed << c.autoRun << c.closing;
}
