#include "launch/process_start.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_machine.h"

namespace {

// Answers Create with a set error (0: success) and records every start.
struct FakeStarter : ProcessStarter {
    unsigned long createError = 0;
    bool shellStarts = true;
    std::vector<std::string> created;
    std::vector<ProgramAndParameters> throughShell;
    int processToken = 0;

    bool Create(const std::string& commandLine, StartedProcess* started,
                unsigned long* error) override {
        created.push_back(commandLine);
        if (createError != 0) {
            *error = createError;
            return false;
        }
        started->process = &processToken;
        started->thread = &processToken;
        started->id = 100;
        return true;
    }
    bool StartThroughShell(const std::string& program, const std::string& parameters,
                           StartedProcess* started) override {
        throughShell.push_back({program, parameters});
        if (!shellStarts) return false;
        started->process = &processToken;
        started->id = 200;
        return true;
    }
};

}  // namespace

// Only a refusal for want of rights goes to the shell; the process that the
// shell starts is kept for the wait like any other.
TEST(StartCommandLine, ShellOnlyWhenElevationIsRequired) {
    struct Case {
        const char* what;
        unsigned long createError;
        bool shellStarts;
        bool started;
        std::size_t shellCalls;
        unsigned long id;
    } cases[] = {
        {"created", 0, true, true, 0, 100},
        {"file not found", 2, true, false, 0, 0},
        {"access denied", 5, true, false, 0, 0},
        {"elevation required", kErrorElevationRequired, true, true, 1, 200},
        {"elevation declined", kErrorElevationRequired, false, false, 1, 0},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.files = {"D:\\SETUP\\SETUP.EXE"};
        FakeStarter starter;
        starter.createError = c.createError;
        starter.shellStarts = c.shellStarts;
        StartedProcess started;
        EXPECT_EQ(StartCommandLine(machine, "D:\\SETUP\\SETUP.EXE /S", starter, &started), c.started) << c.what;
        EXPECT_EQ(starter.created.size(), 1u) << c.what;
        ASSERT_EQ(starter.throughShell.size(), c.shellCalls) << c.what;
        EXPECT_EQ(started.id, c.id) << c.what;
        EXPECT_EQ(started.process != nullptr, c.started) << c.what;
        if (c.shellCalls) {
            EXPECT_EQ(starter.throughShell[0].program, "D:\\SETUP\\SETUP.EXE") << c.what;
            EXPECT_EQ(starter.throughShell[0].parameters, "/S") << c.what;
            EXPECT_EQ(started.thread, nullptr) << c.what;
        }
    }
}

// The shell wants the program apart from its parameters: the same program
// that the command line names, blanks in its path included.
TEST(SplitProgram, ProgramAndItsParameters) {
    struct Case {
        const char* line;
        const char* program;
        const char* parameters;
    } cases[] = {
        {"D:\\SETUP\\SETUP.EXE /S /V", "D:\\SETUP\\SETUP.EXE", "/S /V"},
        {"D:\\SETUP\\SETUP.EXE", "D:\\SETUP\\SETUP.EXE", ""},
        {"C:\\PROGRAM FILES\\TOOL\\INSTALL.EXE  /i  \"D:\\A B\\X.MSI\"",
         "C:\\PROGRAM FILES\\TOOL\\INSTALL.EXE", "/i  \"D:\\A B\\X.MSI\""},
        {"\"D:\\MY SETUP\\SETUP.EXE\" -q", "D:\\MY SETUP\\SETUP.EXE", "-q"},
        {"\"D:\\MY SETUP\\SETUP.EXE", "D:\\MY SETUP\\SETUP.EXE", ""},
        // No leading part names a file: the first word is the program.
        {"D:\\GONE\\SETUP.EXE /S", "D:\\GONE\\SETUP.EXE", "/S"},
        {"  D:\\SETUP\\SETUP.EXE\t-x", "D:\\SETUP\\SETUP.EXE", "-x"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.files = {"D:\\SETUP\\SETUP.EXE", "C:\\PROGRAM FILES\\TOOL\\INSTALL.EXE"};
        ProgramAndParameters split = SplitProgram(machine, c.line);
        EXPECT_EQ(split.program, c.program) << c.line;
        EXPECT_EQ(split.parameters, c.parameters) << c.line;
    }
}

// A program whose path holds a blank is quoted for CreateProcessA, which
// would otherwise start a shorter program that the path begins with; the
// shell gets the same program.
TEST(StartCommandLine, ProgramWithABlankIsQuoted) {
    struct Case {
        const char* line;
        const char* created;
    } cases[] = {
        {"D:\\SETUP FILES\\INSTALL.EXE /S", "\"D:\\SETUP FILES\\INSTALL.EXE\" /S"},
        {"D:\\SETUP FILES\\INSTALL.EXE", "\"D:\\SETUP FILES\\INSTALL.EXE\""},
        {"\"D:\\SETUP FILES\\INSTALL.EXE\" /S", "\"D:\\SETUP FILES\\INSTALL.EXE\" /S"},
        {"D:\\SETUP.EXE FILES\\INSTALL.EXE /S", "D:\\SETUP.EXE FILES\\INSTALL.EXE /S"},
        {"D:\\GONE FILES\\X.EXE /S", "D:\\GONE FILES\\X.EXE /S"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.files = {"D:\\SETUP.EXE", "D:\\SETUP FILES\\INSTALL.EXE"};
        FakeStarter starter;
        starter.createError = kErrorElevationRequired;
        StartedProcess started;
        StartCommandLine(machine, c.line, starter, &started);
        ASSERT_EQ(starter.created.size(), 1u) << c.line;
        EXPECT_EQ(starter.created[0], c.created) << c.line;
        ProgramAndParameters split = SplitProgram(machine, starter.created[0]);
        ASSERT_EQ(starter.throughShell.size(), 1u) << c.line;
        EXPECT_EQ(starter.throughShell[0].program, split.program) << c.line;
    }
}
