#include "script/program_paths.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(ResolveScriptPath(machine, c.text), c.resolved) << c.program << " + " << c.text;
    }
}

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
        EXPECT_EQ(ResolveScriptPath(machine, c.text), c.resolved) << c.program << " + " << c.text;
    }
    machine.leadBytes = {0x83, 0x95};
    EXPECT_EQ(DirectoryOf(machine, "D:\\\x95\x5C\\X.EXE"), "D:\\\x95\x5C");
    EXPECT_EQ(DirectoryOf(machine, "D:\\SETUP\\\x83\x5C"), "D:\\SETUP");
    EXPECT_EQ(ProgramNameOf(machine, "C:\\DISC\\\x83\x5C.EXE"), "\x83\x5C");
}

TEST(DirectoryOf, KeepsRootBackslash) {
    FakeMachine machine;
    machine.programFile = "C:\\SETUP\\AUTORUN.EXE";
    EXPECT_EQ(DirectoryOf(machine, machine.ProgramFile()), "C:\\SETUP");
    EXPECT_EQ(DirectoryOf(machine, "D:\\AUTORUN.EXE"), "D:\\");
    EXPECT_EQ(DirectoryOf(machine, "C:\\X.EXE"), "C:\\");
    EXPECT_EQ(DirectoryOf(machine, "NAME.EXE"), "NAME.EXE");
    EXPECT_EQ(DirectoryOf(machine, "\\X.EXE"), "");
    EXPECT_EQ(DirectoryOf(machine, "C:\\SETUP.EXE /D=C:\\TEMP"), "C:\\SETUP.EXE /D=C:\\");
    std::string longPath = "C:\\" + std::string(2000, 'd') + "\\X.EXE";
    EXPECT_EQ(DirectoryOf(machine, longPath.c_str()), "C:\\" + std::string(2000, 'd'));
}

TEST(ProgramNameOf, NameWithoutDirectoryAndExtension) {
    FakeMachine machine;
    EXPECT_EQ(ProgramNameOf(machine, "C:\\DISC\\AUTORUN.EXE"), "AUTORUN");
    EXPECT_EQ(ProgramNameOf(machine, "C:\\DISC\\Setup.Menu.exe"), "Setup.Menu");
    EXPECT_EQ(ProgramNameOf(machine, "Z:/disc/start.exe"), "start");
    EXPECT_EQ(ProgramNameOf(machine, "D:START.EXE"), "START");
}

TEST(FileExists, FilesNotDirectories) {
    FakeMachine machine;
    machine.files = {"C:\\A.TXT"};
    machine.directories = {"C:\\DIR"};
    EXPECT_TRUE(FileExists(machine, "C:\\A.TXT"));
    EXPECT_FALSE(FileExists(machine, "C:\\DIR"));
    EXPECT_FALSE(FileExists(machine, "C:\\MISSING"));
}

TEST(FindExtension, LastDotOfWholePath) {
    EXPECT_STREQ(FindExtension("C:\\A.B\\README"), ".B\\README");
    EXPECT_STREQ(FindExtension("C:\\DIR\\README"), "");
    EXPECT_STREQ(FindExtension("X.TAR.GZ"), ".GZ");
}
