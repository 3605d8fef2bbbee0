#include "script/resume_script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/script_location.h"
#include "fake_machine.h"
#include "fake_script_host.h"
#include "script/screen_script.h"

namespace {

ScreenItem& Put(ScreenModel& screen, int slot, ButtonKind kind, int state,
                const std::string& command) {
    screen.buttons[slot] = std::make_unique<ScreenItem>();
    ScreenItem& item = *screen.buttons[slot];
    item.kind = kind;
    item.state = state;
    item.command = command;
    return item;
}

// Members 2, 5 and 9; 5 refers to the checked box 3 and the unchecked 4.
ScreenModel& Chain(ScreenModel& screen) {
    screen.title = "Sample Disc";
    screen.restartMode = 4;
    screen.trapMessage = "Setup wants to restart.\r\nPlease wait.";
    screen.finalRestartMessage = "Restart now?";
    Put(screen, 2, ButtonKind::kCheckBox, 1, "A\\SETUP.EXE").option = 1;
    ScreenItem& five = Put(screen, 5, ButtonKind::kCheckBox, 1, "B\\SETUP.EXE /Q");
    five.referenceList = "3,/X,4,/Y";
    five.ignoreList = {"helper.exe", "msi.exe"};
    five.installMessage = "Installing B\r\nPlease wait";
    five.failureMessage = "B failed";
    Put(screen, 3, ButtonKind::kCheckBox, 1, "");       // checked, no command: no member
    Put(screen, 4, ButtonKind::kCheckBox, 0, "D.EXE");  // unchecked
    Put(screen, 7, ButtonKind::kPush, 0, "E.EXE").restartPolicy = kTrapRestart;
    Put(screen, 9, ButtonKind::kCheckBox, 1, "C.EXE").option = 1;
    screen.buttons[9]->restartPolicy = kAllowRestart;
    screen.buttons[4]->restartPolicy = kTrapRestart;
    screen.buttons[2]->restartPolicy = kTrapRestart;
    return screen;
}

class TextLines : public LineSource {
public:
    explicit TextLines(const std::string& text) : stream_(text) {}
    bool NextLine(std::string* line) override {
        if (!std::getline(stream_, *line)) return false;
        if (!line->empty() && line->back() == '\r') line->pop_back();
        return true;
    }

private:
    std::istringstream stream_;
};

}  // namespace

TEST(ResumeScript, TextAfterRunningSlot) {
    FakeMachine machine;
    ScreenModel screen;
    Chain(screen);
    const char* expected =
        "[BEGIN]\r\n"
        "TITLE=Sample Disc\r\n"
        "TRAPREBOOTMODE=YESNO\r\n"
        "TRAPREBOOT=Setup wants to restart.\\r\\nPlease wait.\r\n"
        "FINALREBOOT=Restart now?\r\n"
        "ALLOWREBOOT=\r\n"
        "TRAPREBOOTBUTTONS= 4, 7,\r\n"
        "ALLOWREBOOTBUTTONS= 9,\r\n"
        "\r\n[REBOOTED]\r\n"
        "BUTTON5=B\\SETUP.EXE /Q /X,0\r\n"
        "BUTTON9=C.EXE,1\r\n"
        "\r\n[IGNOREWAITPROCESS]\r\n"
        "BUTTON5=helper.exe,msi.exe,\r\n"
        "BUTTON9=\r\n"
        "\r\n[INSTALLMESSAGE]\r\n"
        "BUTTON5=Installing B\\r\\nPlease wait\r\n"
        "BUTTON9=\r\n"
        "\r\n[MESSAGE]\r\n"
        "BUTTON5=B failed\r\n"
        "BUTTON9=\r\n"
        "\r\n[END]\r\n";
    EXPECT_EQ(ResumeScriptText(screen, 2), expected);
}

TEST(ResumeScript, ModeAndEmptyLists) {
    FakeMachine machine;
    ScreenModel screen;
    screen.restartMode = 0;
    Put(screen, 3, ButtonKind::kCheckBox, 1, "X.EXE");
    std::string text = ResumeScriptText(screen, 3);
    EXPECT_NE(text.find("TRAPREBOOTMODE=OK\r\n"), std::string::npos);
    EXPECT_NE(text.find("TRAPREBOOTBUTTONS=\r\nALLOWREBOOTBUTTONS=\r\n"), std::string::npos);
    EXPECT_EQ(text.find("BUTTON3"), std::string::npos);
}

TEST(ResumeScript, ReadsBackAsTheRestOfTheChain) {
    FakeMachine machine;
    ScreenModel written;
    Chain(written);
    ScreenModel read;
    FakeScriptHost host{machine};
    ScreenScript reader(read, host, machine);
    TextLines lines(ResumeScriptText(written, 2));
    reader.ReadLines(lines);

    EXPECT_EQ(read.resumed, 1);
    EXPECT_EQ(read.title, "Sample Disc");
    EXPECT_EQ(read.restartMode, 4);
    EXPECT_EQ(read.trapMessage, "Setup wants to restart.\r\nPlease wait.");
    for (int slot : {0, 1, 2, 3, 6, 8}) EXPECT_EQ(read.buttons[slot], nullptr) << slot;
    ASSERT_NE(read.buttons[5], nullptr);
    ASSERT_NE(read.buttons[9], nullptr);
    const ScreenItem& five = *read.buttons[5];
    EXPECT_TRUE(five.IsChainMember());
    EXPECT_EQ(five.command, "B\\SETUP.EXE /Q /X");
    EXPECT_EQ(five.option, 0);
    EXPECT_EQ(five.ignoreList, (std::vector<std::string>{"helper.exe", "msi.exe"}));
    EXPECT_EQ(five.installMessage, "Installing B\r\nPlease wait");
    EXPECT_EQ(five.failureMessage, "B failed");
    EXPECT_EQ(read.buttons[9]->option, 1);
    EXPECT_EQ(read.buttons[9]->restartPolicy, kAllowRestart);
    // Slots 4 and 7 come back as blank items carrying only their policy.
    ASSERT_NE(read.buttons[4], nullptr);
    EXPECT_EQ(read.buttons[4]->restartPolicy, kTrapRestart);
    EXPECT_FALSE(read.buttons[4]->IsChainMember());
    ASSERT_NE(read.buttons[7], nullptr);
    EXPECT_FALSE(read.buttons[7]->IsChainMember());
}

TEST(ResumeScript, NamesAndRunOnceCommand) {
    EXPECT_EQ(ResumeScriptPath("C:\\WINDOWS\\TEMP\\", "AUTORUN", 32767),
              "C:\\WINDOWS\\TEMP\\AUTORUN32767.INF");
    EXPECT_EQ(ResumeScriptPath("", "SETUP", 0), "SETUP0.INF");
    EXPECT_EQ(RunOnceCommand("D:\\", "AUTORUN", "C:\\T\\AUTORUN5.INF"), "D:\\\\AUTORUN C:\\T\\AUTORUN5.INF");
    EXPECT_EQ(RunOnceCommand("D:\\DISC", "AUTORUN", "C:\\T\\A.INF"), "D:\\DISC\\AUTORUN C:\\T\\A.INF");
    // A blank in the program's path: quoted, so that the started program
    // finds the end of its own name; the script's path stays as it is.
    EXPECT_EQ(RunOnceCommand("C:\\Program Files\\Disc", "AUTORUN", "C:\\My Temp\\A.INF"),
              "\"C:\\Program Files\\Disc\\AUTORUN\" C:\\My Temp\\A.INF");
    EXPECT_EQ(CommandLineArguments(RunOnceCommand("C:\\Program Files\\Disc", "AUTORUN",
                                                  "C:\\My Temp\\A.INF")),
              " C:\\My Temp\\A.INF");
}

TEST(DecideEndSession, ByRunningMembersPolicy) {
    // Slot 2 runs with the policy; slot 3 is the chain's last member, which
    // runs with the running index -1. "Owed": a restart that the screen
    // called for did not come.
    struct Case {
        int restartNow;
        int owed;
        int running;
        int member;
        int policy;
        const char* allowMessage;
        EndSessionAnswer answer;
        int resumeAfter;
    } cases[] = {
        {0, 0, -1, -1, kTrapRestart, "", EndSessionAnswer::kPass, -1},
        {0, 0, 2, 2, kNoPolicy, "", EndSessionAnswer::kPass, -1},
        {0, 0, 2, 2, kTrapRestart, "", EndSessionAnswer::kTrap, 2},
        {0, 0, 2, 2, kAllowRestart, "", EndSessionAnswer::kWriteAndPass, 2},
        {0, 0, 2, 2, kAllowRestart, "Restarting", EndSessionAnswer::kAskThenAllow, 2},
        {1, 0, 2, 2, kTrapRestart, "", EndSessionAnswer::kPass, -1},
        {1, 1, 2, 2, kTrapRestart, "", EndSessionAnswer::kPass, -1},
        {0, 0, 6, 6, kTrapRestart, "", EndSessionAnswer::kPass, -1},  // empty slot
        {0, 0, 40, 40, kTrapRestart, "", EndSessionAnswer::kPass, -1},
        {0, 0, -1, 3, kAllowRestart, "", EndSessionAnswer::kPass, -1},
        // After a restart that did not come: the member's own policy first
        // where it refuses anyway, else held back until the member has ended.
        {0, 1, 2, 2, kTrapRestart, "", EndSessionAnswer::kTrap, 2},
        {0, 1, 2, 2, kAllowRestart, "Restarting", EndSessionAnswer::kAskThenAllow, 2},
        {0, 1, 2, 2, kAllowRestart, "", EndSessionAnswer::kRestartLater, 2},
        {0, 1, 2, 2, kNoPolicy, "", EndSessionAnswer::kRestartLater, 2},
        {0, 1, -1, 3, kNoPolicy, "", EndSessionAnswer::kRestartLater, -1},
        {0, 1, -1, -1, kNoPolicy, "", EndSessionAnswer::kPass, -1},  // no chain runs
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        Put(screen, 2, ButtonKind::kCheckBox, 1, "X.EXE").restartPolicy = c.policy;
        Put(screen, 3, ButtonKind::kCheckBox, 1, "Y.EXE").restartPolicy = c.policy;
        screen.restartNow = c.restartNow;
        screen.restartOwed = c.owed;
        screen.runningIndex = c.running;
        screen.runningMember = c.member;
        screen.allowMessage = c.allowMessage;
        EndSessionDecision decision = DecideEndSession(screen);
        EXPECT_EQ(decision.answer, c.answer) << c.owed << " " << c.member << " " << c.policy;
        EXPECT_EQ(decision.resumeAfter, c.resumeAfter)
            << c.owed << " " << c.member << " " << c.policy;
    }
}
