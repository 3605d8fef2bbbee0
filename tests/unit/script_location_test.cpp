#include "app/script_location.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(ScriptPathFor, CommandLineAndScriptPath) {
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
        EXPECT_EQ(ScriptPathFor(machine, CommandLineArguments(c.commandLine), "AUTORUN"), c.script)
            << c.commandLine;
    }
}
