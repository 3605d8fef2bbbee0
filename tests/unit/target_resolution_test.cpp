#include "launch/target_resolution.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

namespace {

const char kClasses[] = "SOFTWARE\\Classes\\";

// A disc in D:\SETUP and a Windows directory with a few programs and
// associations, as the cases below need them.
struct Disc : FakeMachine {
    Disc() {
        files = {"D:\\SETUP\\README.TXT", "D:\\SETUP\\SETUP.EXE", "D:\\SETUP\\DOC.ABC",
                 "D:\\SETUP\\NOTES.OLD", "D:\\SETUP\\PAPER.DOC", "C:\\WINDOWS\\NOTEPAD.EXE",
                 "C:\\PROGRAM FILES\\VIEWER\\VIEW.EXE", "C:\\TOOLS\\WORDVIEW.EXE"};
        directories = {"D:\\SETUP\\DATA"};
        Associate(".TXT", "txtfile", "open", "%SystemRoot%\\NOTEPAD.EXE %1");
        Associate(".ABC", "abcfile", "open", "\"C:\\PROGRAM FILES\\VIEWER\\VIEW.EXE\" \"%1\"");
        Associate(".OLD", "oldfile", "open", "C:\\GONE\\OLDVIEW.EXE %1");
        Associate(".DOC", "docfile", "view", "C:\\TOOLS\\WORDVIEW.EXE");
        AddString(std::string(kClasses) + ".EXE", "", "exefile");
        AddString(std::string(kClasses) + "exefile\\shell", "", "");
        executables["D:\\SETUP\\SETUP.EXE"] = {"D:\\SETUP\\SETUP.EXE", 33};
        executables["D:\\SETUP\\PAPER.DOC"] = {"C:\\TOOLS\\WORDVIEW.EXE", 42};
    }
    void Associate(const std::string& extension, const std::string& name, const std::string& verb,
                   const std::string& command) {
        std::string classKey = kClasses + name;
        AddString(kClasses + extension, "", name);
        AddString(classKey + "\\shell", "", verb);
        AddString(classKey + "\\shell\\" + verb + "\\command", "", command);
    }
};

}  // namespace

TEST(ResolveTarget, ProgramsAndDocuments) {
    struct Case {
        const char* line;
        const char* resolved;
    } cases[] = {
        // A document opens with its class's default verb; %SystemRoot% is
        // the Windows directory.
        {"D:\\SETUP\\README.TXT", "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\README.TXT"},
        {"D:\\SETUP\\README.TXT /P", "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\README.TXT /P"},
        // A program whose class names no default verb is what FindExecutable says: itself.
        {"D:\\SETUP\\SETUP.EXE -S", "D:\\SETUP\\SETUP.EXE -S"},
        // A quoted program path with blanks: the quotes become blanks.
        {"D:\\SETUP\\DOC.ABC", "C:\\PROGRAM FILES\\VIEWER\\VIEW.EXE   D:\\SETUP\\DOC.ABC"},
        // A template without a placeholder goes to FindExecutable, whose
        // program gets the document appended.
        {"D:\\SETUP\\PAPER.DOC -x", "C:\\TOOLS\\WORDVIEW.EXE D:\\SETUP\\PAPER.DOC -x"},
        // A template whose program is missing, and no FindExecutable
        // answer: the template as read is what is left.
        {"D:\\SETUP\\NOTES.OLD", "C:\\GONE\\OLDVIEW.EXE %1"},
        // Relative leading parts are made absolute against the program.
        {"SETUP.EXE /Q", "D:\\SETUP\\SETUP.EXE /Q"},
        {"  SETUP.EXE", "D:\\SETUP\\SETUP.EXE"},
        // Nothing names a file; a directory is not a file.
        {"D:\\SETUP\\MISSING.EXE /S", ""},
        {"DATA", ""},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        Disc disc;
        EXPECT_EQ(ResolveTarget(disc, c.line), c.resolved) << c.line;
    }
}

TEST(ResolveTarget, ShortestLeadingFileWins) {
    Disc disc;
    disc.files.insert("D:\\SETUP\\MY PROG.EXE");
    disc.executables["D:\\SETUP\\MY PROG.EXE"] = {"D:\\SETUP\\MY PROG.EXE", 33};
    EXPECT_EQ(ResolveTarget(disc, "D:\\SETUP\\MY PROG.EXE /S"), "D:\\SETUP\\MY PROG.EXE /S");

    disc.files.insert("D:\\SETUP\\MY");
    disc.executables["D:\\SETUP\\MY"] = {"D:\\SETUP\\MY", 33};
    EXPECT_EQ(ResolveTarget(disc, "D:\\SETUP\\MY PROG.EXE /S"), "D:\\SETUP\\MY PROG.EXE /S");
    ASSERT_FALSE(disc.findExecutableCalls.empty());
    EXPECT_EQ(disc.findExecutableCalls.back(), "D:\\SETUP\\MY");
}

TEST(FindAssociatedCommand, Templates) {
    struct Case {
        const char* command;  // the template of .ABC's class
        const char* result;   // for D:\SETUP\DOC.ABC with the rest " /R"
    } cases[] = {
        {"C:\\TOOLS\\WORDVIEW.EXE %1", "C:\\TOOLS\\WORDVIEW.EXE D:\\SETUP\\DOC.ABC /R"},
        // A program that does not exist: no fallback answer, the template is left.
        {"C:\\TOOLS\\GONE.EXE %L", "C:\\TOOLS\\GONE.EXE %L"},
        {"  C:\\TOOLS\\WORDVIEW.EXE %*", "C:\\TOOLS\\WORDVIEW.EXE D:\\SETUP\\DOC.ABC /R"},
        {"%systemroot%\\NOTEPAD.EXE %1", "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\DOC.ABC /R"},
        // Switches before the placeholder stay, everything after it goes.
        {"C:\\TOOLS\\WORDVIEW.EXE /n %1 /x %2", "C:\\TOOLS\\WORDVIEW.EXE /n D:\\SETUP\\DOC.ABC /R"},
        {"C:\\TOOLS\\WORDVIEW.EXE %% /y=%1 %1", "C:\\TOOLS\\WORDVIEW.EXE %% /y=%1 D:\\SETUP\\DOC.ABC /R"},
        {"'C:\\TOOLS\\WORDVIEW.EXE' '%1'", "C:\\TOOLS\\WORDVIEW.EXE   D:\\SETUP\\DOC.ABC /R"},
        // No placeholder after the program (a "%" glued to text is none):
        // the fallback finds nothing and the template is left.
        {"C:\\TOOLS\\WORDVIEW.EXE /x%1", "C:\\TOOLS\\WORDVIEW.EXE /x%1"},
        {"C:\\TOOLS\\WORDVIEW.EXE %~", "C:\\TOOLS\\WORDVIEW.EXE %~"},
        // %SystemRoot% is expanded only at the start.
        {"NOTEPAD.EXE %SystemRoot%", "NOTEPAD.EXE %SystemRoot%"},
    };
    for (const Case& c : cases) {
        Disc disc;
        disc.Associate(".ABC", "abcfile", "open", c.command);
        EXPECT_EQ(FindAssociatedCommand(disc, "D:\\SETUP\\DOC.ABC", " /R"), c.result) << c.command;
    }
}

TEST(FindAssociatedCommand, IncompleteAssociationsFallBack) {
    const std::string abc = std::string(kClasses) + "abcfile";
    struct Case {
        const char* what;
        void (*breakIt)(Disc&);
    } cases[] = {
        {"no class key", [](Disc& d) { d.keys.erase(std::string(kClasses) + ".ABC"); }},
        {"empty class", [](Disc& d) { d.AddString(std::string(kClasses) + ".ABC", "", ""); }},
        {"no default verb and no open verb", [](Disc& d) {
             d.AddString(std::string(kClasses) + "abcfile\\shell", "", "view");
             d.AddString(std::string(kClasses) + "abcfile\\shell\\view\\command", "", "");
             d.keys.erase(std::string(kClasses) + "abcfile\\shell\\open\\command");
         }},
        {"no command key",
         [](Disc& d) { d.keys.erase(std::string(kClasses) + "abcfile\\shell\\open\\command"); }},
        {"class of another type", [](Disc& d) {
             RegistryValue number;
             number.type = 4;
             number.data = {1, 0, 0, 0};
             d.values[std::string(kClasses) + ".ABC|"] = number;
         }},
        {"class without terminator", [](Disc& d) {
             RegistryValue raw;
             raw.type = kRegString;
             raw.data = {'n', 'o', 'n', 'e'};
             d.values[std::string(kClasses) + ".ABC|"] = raw;
         }},
    };
    for (const Case& c : cases) {
        Disc disc;
        c.breakIt(disc);
        disc.executables["D:\\SETUP\\DOC.ABC"] = {"C:\\TOOLS\\WORDVIEW.EXE", 42};
        EXPECT_EQ(FindAssociatedCommand(disc, "D:\\SETUP\\DOC.ABC", ""),
                  "C:\\TOOLS\\WORDVIEW.EXE D:\\SETUP\\DOC.ABC")
            << c.what;
        disc.executables.clear();
        EXPECT_EQ(FindAssociatedCommand(disc, "D:\\SETUP\\DOC.ABC", ""), "") << c.what;
    }
}

TEST(FindAssociatedCommand, FindExecutableAnswers) {
    using std::string;
    struct Case {
        const char* what;
        string bytes;
        unsigned long code;
        const char* file;
        const char* result;
    } cases[] = {
        {"the file itself", "D:\\SETUP\\X.EXE", 33, "D:\\SETUP\\X.EXE", "D:\\SETUP\\X.EXE -a"},
        {"same extension in another case", "D:\\SETUP\\x.exe", 33, "D:\\SETUP\\X.EXE",
         "D:\\SETUP\\x.exe -a"},
        {"another program", "C:\\V.EXE", 33, "D:\\SETUP\\X.ZZZ", "C:\\V.EXE D:\\SETUP\\X.ZZZ -a"},
        // Zero bytes inside the answer become blanks, and then nothing is appended.
        {"zero bytes inside", string("C:\\V.EXE\0D:\\SETUP\\X.ZZZ", 23), 33, "D:\\SETUP\\X.ZZZ",
         "C:\\V.EXE D:\\SETUP\\X.ZZZ -a"},
        {"result 32 is a failure", "C:\\V.EXE", 32, "D:\\SETUP\\X.ZZZ", ""},
        {"result 31 (no association)", "", 31, "D:\\SETUP\\X.ZZZ", ""},
        {"success with an empty answer", "", 33, "D:\\SETUP\\X.ZZZ", " D:\\SETUP\\X.ZZZ -a"},
    };
    for (const Case& c : cases) {
        Disc disc;
        disc.executables[c.file] = {c.bytes, c.code};
        EXPECT_EQ(FindAssociatedCommand(disc, c.file, " -a"), c.result) << c.what;
    }
}

// A line that would not fit the 519 characters handed to the system is
// refused, never cut: a cut-off command line could start another program.
TEST(ResolveTarget, TooLongIsRefused) {
    const std::string longArgs(600, 'a');
    struct Case {
        const char* what;
        std::string line;
        void (*setUp)(Disc&);
    } cases[] = {
        {"arguments", "D:\\SETUP\\SETUP.EXE " + longArgs, [](Disc&) {}},
        {"arguments just over", "D:\\SETUP\\SETUP.EXE " + std::string(519 - 19 + 1, 'b'), [](Disc&) {}},
        {"document in the template", "D:\\SETUP\\README.TXT " + std::string(480, 'c'), [](Disc&) {}},
        {"leading part that is no path", std::string(700, 'x') + " /S", [](Disc&) {}},
        {"expanded %SystemRoot%", "D:\\SETUP\\README.TXT",
         [](Disc& d) { d.windowsDirectory = "C:\\" + std::string(510, 'W'); }},
        {"FindExecutable answer", "D:\\SETUP\\PAPER.DOC " + std::string(490, 'd'), [](Disc&) {}},
    };
    for (const Case& c : cases) {
        Disc disc;
        c.setUp(disc);
        EXPECT_EQ(ResolveTarget(disc, c.line), "") << c.what;
    }
    // At the limit it still fits.
    Disc disc;
    std::string line = "D:\\SETUP\\SETUP.EXE " + std::string(519 - 19, 'e');
    line.pop_back();
    EXPECT_EQ(ResolveTarget(disc, line), line);
    EXPECT_EQ(line.size(), 518u);
    line += 'e';
    EXPECT_EQ(ResolveTarget(disc, line), line);
}

// The class's default verb wins; a class that names none opens with "open",
// as the shell does, before FindExecutable is asked.
TEST(FindAssociatedCommand, VerbOfTheClass) {
    const std::string shell = std::string(kClasses) + "abcfile\\shell";
    struct Case {
        const char* what;
        const char* defaultVerb;  // null: the shell key has no default value
        const char* result;
    } cases[] = {
        {"named verb", "view", "C:\\TOOLS\\WORDVIEW.EXE D:\\SETUP\\DOC.ABC"},
        {"named open", "open", "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\DOC.ABC"},
        {"empty default verb", "", "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\DOC.ABC"},
        {"no default value", nullptr, "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\DOC.ABC"},
        // A named verb without a command does not fall back to "open".
        {"named verb without command", "print", "C:\\OTHER\\FOUND.EXE D:\\SETUP\\DOC.ABC"},
    };
    for (const Case& c : cases) {
        Disc disc;
        disc.AddString(shell + "\\open\\command", "", "%SystemRoot%\\NOTEPAD.EXE %1");
        disc.AddString(shell + "\\view\\command", "", "C:\\TOOLS\\WORDVIEW.EXE %1");
        disc.values.erase(shell + "|");
        if (c.defaultVerb) disc.AddString(shell, "", c.defaultVerb);
        disc.executables["D:\\SETUP\\DOC.ABC"] = {"C:\\OTHER\\FOUND.EXE", 42};
        EXPECT_EQ(FindAssociatedCommand(disc, "D:\\SETUP\\DOC.ABC", ""), c.result) << c.what;
    }
}

// A Windows Installer package: its class names no default verb, and
// FindExecutable would give msiexec alone, without the "/i" of "open".
TEST(ResolveTarget, InstallerPackageOpensWithItsOpenVerb) {
    Disc disc;
    disc.files.insert("D:\\SETUP\\SETUP.MSI");
    disc.files.insert("D:\\SETUP\\SETUP FILES\\SETUP.MSI");
    disc.files.insert("C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE");
    // The fake's keys are exact; the registry's are found without regard to case.
    disc.AddString(std::string(kClasses) + ".MSI", "", "Msi.Package");
    disc.keys.insert(std::string(kClasses) + "Msi.Package\\shell");
    disc.AddString(std::string(kClasses) + "Msi.Package\\shell\\open\\command", "",
                   "\"%SystemRoot%\\SYSTEM32\\MSIEXEC.EXE\" /i \"%1\" %*");
    for (const char* file : {"D:\\SETUP\\SETUP.MSI", "D:\\SETUP\\SETUP FILES\\SETUP.MSI"})
        disc.executables[file] = {"C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE", 42};

    EXPECT_EQ(ResolveTarget(disc, "D:\\SETUP\\SETUP.MSI /qn"),
              "C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE  /i  D:\\SETUP\\SETUP.MSI /qn");
    EXPECT_EQ(ResolveTarget(disc, "D:\\SETUP\\SETUP FILES\\SETUP.MSI"),
              "C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE  /i  \"D:\\SETUP\\SETUP FILES\\SETUP.MSI\"");
}

// The document reaches its program as one argument: quoted when its path
// holds a white character, as it is otherwise. A program is not a document:
// what FindExecutable says of it is kept as it comes.
TEST(ResolveTarget, DocumentPathIsOneArgument) {
    struct Case {
        const char* line;
        const char* resolved;
    } cases[] = {
        {"D:\\SETUP\\MY DOCS\\README.TXT /P",
         "C:\\WINDOWS\\NOTEPAD.EXE \"D:\\SETUP\\MY DOCS\\README.TXT\" /P"},
        {"D:\\SETUP\\MY DOCS\\PAPER.DOC", "C:\\TOOLS\\WORDVIEW.EXE \"D:\\SETUP\\MY DOCS\\PAPER.DOC\""},
        {"D:\\SETUP\\TAB\tDIR\\README.TXT", "C:\\WINDOWS\\NOTEPAD.EXE \"D:\\SETUP\\TAB\tDIR\\README.TXT\""},
        {"D:\\SETUP\\MY DOCS\\SETUP.EXE -S", "D:\\SETUP\\MY DOCS\\SETUP.EXE -S"},
    };
    for (const Case& c : cases) {
        Disc disc;
        for (const char* name : {"MY DOCS\\README.TXT", "MY DOCS\\PAPER.DOC", "TAB\tDIR\\README.TXT",
                                 "MY DOCS\\SETUP.EXE"})
            disc.files.insert(std::string("D:\\SETUP\\") + name);
        disc.executables["D:\\SETUP\\MY DOCS\\PAPER.DOC"] = {"C:\\TOOLS\\WORDVIEW.EXE", 42};
        disc.executables["D:\\SETUP\\MY DOCS\\SETUP.EXE"] = {"D:\\SETUP\\MY DOCS\\SETUP.EXE", 42};
        EXPECT_EQ(ResolveTarget(disc, c.line), c.resolved) << c.line;
    }
}

// A template stored as REG_EXPAND_SZ has its variables expanded; one stored
// as REG_SZ only a leading %SystemRoot%, which Windows 95 has no variable for.
TEST(FindAssociatedCommand, ExpandableTemplates) {
    struct Case {
        const char* what;
        unsigned long type;
        const char* command;
        const char* result;  // for D:\SETUP\DOC.ABC with the rest " /R"
    } cases[] = {
        {"variable at the start", kRegExpandString, "\"%ProgramFiles%\\VIEWER\\VIEW.EXE\" %1",
         "C:\\PROGRAM FILES\\VIEWER\\VIEW.EXE  D:\\SETUP\\DOC.ABC /R"},
        {"variable inside", kRegExpandString, "C:\\TOOLS\\%VIEWER% /x %1",
         "C:\\TOOLS\\WORDVIEW.EXE /x D:\\SETUP\\DOC.ABC /R"},
        {"the same as REG_SZ", kRegString, "C:\\TOOLS\\%VIEWER% /x %1", "C:\\TOOLS\\%VIEWER% /x %1"},
        {"%SystemRoot% without that variable", kRegExpandString, "%SystemRoot%\\NOTEPAD.EXE %1",
         "C:\\WINDOWS\\NOTEPAD.EXE D:\\SETUP\\DOC.ABC /R"},
        {"an unknown variable stays", kRegExpandString, "%NOWHERE%\\VIEW.EXE %1", "%NOWHERE%\\VIEW.EXE %1"},
        {"too long once expanded", kRegExpandString, "%LONG%\\VIEW.EXE %1", ""},
    };
    for (const Case& c : cases) {
        Disc disc;
        disc.environment = {{"ProgramFiles", "C:\\PROGRAM FILES"},
                            {"VIEWER", "WORDVIEW.EXE"},
                            {"LONG", "C:\\" + std::string(520, 'L')}};
        disc.Associate(".ABC", "abcfile", "open", c.command);
        disc.values[std::string(kClasses) + "abcfile\\shell\\open\\command|"].type = c.type;
        EXPECT_EQ(FindAssociatedCommand(disc, "D:\\SETUP\\DOC.ABC", " /R"), c.result) << c.what;
    }
}
