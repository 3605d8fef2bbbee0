#include "launch/button_actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_machine.h"
#include "script/resume_script.h"

namespace {

// Records what an action does, one line per step; launches fail for the
// commands listed in `failing`, and message boxes take their answers from
// `answers` in order (0 once they run out).
struct RecordingHost : ActionHost {
    ScreenModel& screen;
    std::vector<std::string> steps;
    std::set<std::string> failing;
    std::deque<int> answers;
    std::function<void(int call)> duringWait;  // runs inside WaitForRestartPrompt
    int waits = 0;
    int failuresLeft = -1;  // failing lines start after this many failures; -1 never

    explicit RecordingHost(ScreenModel& s) : screen(s) {}

    void HideScreen() override { steps.push_back("hide"); }
    void RestoreScreen() override { steps.push_back("restore"); }
    void ShowScreen() override { steps.push_back("show"); }
    void CloseScreen() override { steps.push_back("close"); }
    void EndScreen() override { steps.push_back("end"); }
    bool Launch(const std::string& line, const ScreenItem&, bool wait,
                unsigned long* exitCode) override {
        steps.push_back("launch " + line + (wait ? " wait" : "") + " @" +
                        std::to_string(screen.runningIndex.load()));
        if (exitCode) *exitCode = exitCodes.count(line) ? exitCodes[line] : 0;
        if (duringLaunch) duringLaunch(line);
        if (failing.count(line) == 0) return true;
        if (failuresLeft > 0 && --failuresLeft == 0) failing.clear();
        return false;
    }
    int Ask(const std::string& text, unsigned type) override {
        char kind[16];
        std::snprintf(kind, sizeof kind, "%#x", type);
        if (text.empty()) return 0;
        steps.push_back("ask " + std::string(kind) + " " + text);
        if (duringAsk) duringAsk(text);
        if (answers.empty()) return 0;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ForgetRestartPrompt() override { steps.push_back("forget"); }
    void WaitForRestartPrompt() override {
        if (duringWait) duringWait(waits);
        ++waits;
    }
    // The restart never comes.
    void RestartMachine() override {
        steps.push_back("restart");
        OweRestart(screen);
    }
    bool WriteResumeScript(int resumeAfter) override {
        steps.push_back("write after " + std::to_string(resumeAfter));
        return true;
    }
    std::map<std::string, unsigned long> exitCodes;
    std::function<void(const std::string& line)> duringLaunch;  // while the program runs
    std::function<void(const std::string& text)> duringAsk;     // while the box is open
};

ScreenItem& Put(ScreenModel& screen, int slot, ButtonKind kind, int state,
                const std::string& command, int option = 0) {
    screen.buttons[slot].reset(new ScreenItem);
    ScreenItem& item = *screen.buttons[slot];
    item.kind = kind;
    item.state = state;
    item.command = command;
    item.option = option;
    return item;
}

using Steps = std::vector<std::string>;

}  // namespace

TEST(PushButton, OptionsDecideScreenAndWait) {
    struct Case {
        int option;
        Steps steps;
    } cases[] = {
        {0, {"hide", "launch SETUP.EXE wait @-1", "restore"}},
        {1, {"hide", "launch SETUP.EXE @-1", "close"}},
        {2, {"launch SETUP.EXE wait @-1", "restore"}},
        {3, {"launch SETUP.EXE @-1", "restore"}},
        {-1, {"launch SETUP.EXE @-1", "restore"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        ScreenItem& button = Put(screen, 4, ButtonKind::kPush, kStateNormal, "SETUP.EXE", c.option);
        screen.currentPushButton = &button;
        RecordingHost host(screen);
        RunPushButtonSteps(screen, host);
        EXPECT_EQ(host.steps, c.steps) << "option " << c.option;
        EXPECT_EQ(screen.currentPushButton.load(), nullptr);
    }
}

TEST(PushButton, EmptyCommandFailureAndReferences) {
    struct Case {
        const char* what;
        const char* command;
        int option;
        const char* failure;
        Steps steps;
    } cases[] = {
        {"empty command, YES: only closes", "", 1, "", {"close"}},
        {"empty command, NO: only restores", "", 0, "", {"restore"}},
        {"failure box", "BAD.EXE", 0, "Cannot start",
         {"hide", "launch BAD.EXE /A wait @-1", "ask 0x30 Cannot start", "restore"}},
        {"failure without text is silent", "BAD.EXE", 1, "",
         {"hide", "launch BAD.EXE /A @-1", "close"}},
        {"checked referenced words are appended", "GO.EXE", 3, "",
         {"launch GO.EXE /A @-1", "restore"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        ScreenItem& button = Put(screen, 1, ButtonKind::kPush, kStateNormal, c.command, c.option);
        button.failureMessage = c.failure;
        button.referenceList = "2,/A,3,/B";
        Put(screen, 2, ButtonKind::kCheckBox, kChecked, "X.EXE");
        Put(screen, 3, ButtonKind::kCheckBox, kUnchecked, "Y.EXE");
        screen.currentPushButton = &button;
        RecordingHost host(screen);
        host.failing = {"BAD.EXE /A"};
        RunPushButtonSteps(screen, host);
        EXPECT_EQ(host.steps, c.steps) << c.what;
    }
}

TEST(PushButton, NoCurrentButtonDoesNothing) {
    ScreenModel screen;
    RecordingHost host(screen);
    RunPushButtonSteps(screen, host);
    EXPECT_TRUE(host.steps.empty());
}

TEST(Chain, MembersInSlotOrderWithRunningIndex) {
    ScreenModel screen;
    screen.closeAfterChain = 0;
    Put(screen, 9, ButtonKind::kCheckBox, kChecked, "C9.EXE", 1);
    Put(screen, 2, ButtonKind::kCheckBox, kChecked, "C2.EXE", 1);
    Put(screen, 5, ButtonKind::kCheckBox, kChecked, "C5.EXE", 0);
    Put(screen, 3, ButtonKind::kCheckBox, kUnchecked, "UNCHECKED.EXE", 1);
    Put(screen, 4, ButtonKind::kPush, kChecked, "PUSH.EXE", 1);
    Put(screen, 6, ButtonKind::kOk, kChecked, "OK.EXE", 1);
    Put(screen, 7, ButtonKind::kCheckBox, kChecked, "", 1);  // no command: not a member
    Put(screen, 12, ButtonKind::kCheckBox, kUnchecked, "LATE.EXE", 1);
    RecordingHost host(screen);
    RunChainSteps(screen, host);
    EXPECT_EQ(host.steps, (Steps{"hide", "forget", "launch C2.EXE wait @2", "launch C5.EXE @5",
                                 "launch C9.EXE wait @-1", "show"}));
    EXPECT_EQ(screen.runningIndex.load(), -1);
    EXPECT_EQ(LastChainMember(screen), 9);
    // The prompt is waited for before every slot up to the last member, and at the end.
    EXPECT_EQ(host.waits, 11);
}

TEST(Chain, HowItEnds) {
    struct Case {
        const char* what;
        int closeAfterChain;
        int resumed;  // 1 resumed, 2 auto-run
        bool anyMember;
        std::deque<int> answers;  // to a failing member's box
        const char* last;         // the last step
    } cases[] = {
        {"OK with NO shows the screen again", 0, 0, true, {}, "show"},
        {"OK with YES ends the screen", 1, 0, true, {}, "end"},
        {"no member, NO", 0, 0, false, {}, "show"},
        {"no member, YES", 1, 0, false, {}, "end"},
        {"resumed always ends", 0, 1, true, {}, "end"},
        {"Abort keeps a YES screen", 1, 0, true, {kAnswerAbort}, "show"},
        {"Abort still ends a resumed chain", 0, 1, true, {kAnswerAbort}, "end"},
        {"Ignore goes on and ends", 1, 0, true, {5}, "end"},
        {"Abort ends a [RUN] chain", 0, 2, true, {kAnswerAbort}, "end"},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        screen.closeAfterChain = c.closeAfterChain;
        screen.resumed = c.resumed == 1;
        screen.autoRun = c.resumed == 2;
        if (c.anyMember) {
            Put(screen, 1, ButtonKind::kCheckBox, kChecked, "A.EXE").failureMessage = "A failed";
            Put(screen, 2, ButtonKind::kCheckBox, kChecked, "B.EXE");
        }
        RecordingHost host(screen);
        host.answers = c.answers;
        if (!c.answers.empty()) host.failing = {"A.EXE"};
        RunChainSteps(screen, host);
        ASSERT_FALSE(host.steps.empty());
        EXPECT_EQ(host.steps.back(), c.last) << c.what;
        bool ranB = std::find(host.steps.begin(), host.steps.end(), "launch B.EXE @-1") !=
                    host.steps.end();
        bool aborted = !c.answers.empty() && c.answers.front() == kAnswerAbort;
        EXPECT_EQ(ranB, c.anyMember && !aborted) << c.what;
    }
}

TEST(Chain, FailedMembers) {
    struct Case {
        const char* what;
        const char* failure;
        std::deque<int> answers;
        int failures;  // failed starts of A before the file appears; -1 never
        Steps steps;
    } cases[] = {
        {"Retry until it starts", "A failed", {kAnswerRetry, kAnswerRetry}, 2,
         {"hide", "forget", "launch A.EXE @1", "ask 0x122 A failed", "launch A.EXE @1",
          "ask 0x122 A failed", "launch A.EXE @1", "launch B.EXE @-1", "show"}},
        {"Retry, then Ignore", "A failed", {kAnswerRetry, 5}, -1,
         {"hide", "forget", "launch A.EXE @1", "ask 0x122 A failed", "launch A.EXE @1",
          "ask 0x122 A failed", "launch B.EXE @-1", "show"}},
        {"Abort leaves the loop", "A failed", {kAnswerAbort}, -1,
         {"hide", "forget", "launch A.EXE @1", "ask 0x122 A failed", "show"}},
        {"an empty message passes silently", "", {kAnswerAbort}, -1,
         {"hide", "forget", "launch A.EXE @1", "launch B.EXE @-1", "show"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        screen.closeAfterChain = 0;
        Put(screen, 1, ButtonKind::kCheckBox, kChecked, "A.EXE").failureMessage = c.failure;
        Put(screen, 2, ButtonKind::kCheckBox, kChecked, "B.EXE");
        RecordingHost host(screen);
        host.answers = c.answers;
        host.failing = {"A.EXE"};
        host.failuresLeft = c.failures;
        RunChainSteps(screen, host);
        EXPECT_EQ(host.steps, c.steps) << c.what;
    }
}

TEST(Chain, RestartRequests) {
    // The prompt answers "restart now" while the first member runs.
    ScreenModel screen;
    screen.closeAfterChain = 0;
    screen.finalRestart = 1;  // stale: cleared when the chain starts
    Put(screen, 0, ButtonKind::kCheckBox, kChecked, "A.EXE", 1);
    Put(screen, 3, ButtonKind::kCheckBox, kChecked, "B.EXE", 1);
    RecordingHost host(screen);
    host.duringWait = [&](int call) {
        if (call == 1) screen.restartNow = 1;
    };
    RunChainSteps(screen, host);
    // The restart is asked for before the next slot; the chain goes on
    // until the session ends, and the restart that did not come is made
    // again at its end.
    EXPECT_EQ(host.steps, (Steps{"hide", "forget", "launch A.EXE wait @0", "restart",
                                 "launch B.EXE wait @-1", "restart", "show"}));

    // A trapped restart during the chain: the final question, answered Yes or No.
    for (int answer : {kAnswerYes, 7}) {
        ScreenModel trapped;
        trapped.closeAfterChain = 1;
        trapped.finalRestartMessage = "Restart now?";
        Put(trapped, 1, ButtonKind::kCheckBox, kChecked, "A.EXE", 1);
        RecordingHost host2(trapped);
        host2.answers = {answer};
        host2.duringWait = [&](int) { trapped.finalRestart = 1; };
        RunChainSteps(trapped, host2);
        Steps expected = {"hide", "forget", "launch A.EXE wait @-1", "ask 0x24 Restart now?"};
        if (answer == kAnswerYes) expected.push_back("restart");
        expected.push_back("end");
        EXPECT_EQ(host2.steps, expected) << answer;
    }

    // No final message: no question, no restart.
    ScreenModel silent;
    silent.closeAfterChain = 0;
    Put(silent, 1, ButtonKind::kCheckBox, kChecked, "A.EXE", 1);
    RecordingHost host3(silent);
    host3.duringWait = [&](int) { silent.finalRestart = 1; };
    RunChainSteps(silent, host3);
    EXPECT_EQ(host3.steps, (Steps{"hide", "forget", "launch A.EXE wait @-1", "show"}));
}

TEST(Chain, MembershipIsTestedWhenTheSlotComes) {
    // A box unchecked while an earlier member runs is skipped; one checked
    // below the last member is not reached.
    ScreenModel screen;
    screen.closeAfterChain = 0;
    Put(screen, 1, ButtonKind::kCheckBox, kChecked, "A.EXE", 1);
    ScreenItem& b = Put(screen, 2, ButtonKind::kCheckBox, kChecked, "B.EXE", 1);
    Put(screen, 3, ButtonKind::kCheckBox, kChecked, "C.EXE", 1);
    ScreenItem& d = Put(screen, 4, ButtonKind::kCheckBox, kUnchecked, "D.EXE", 1);
    RecordingHost host(screen);
    host.duringWait = [&](int call) {
        if (call == 1) {
            b.state = kStateNormal;
            d.state = kChecked;
        }
    };
    RunChainSteps(screen, host);
    EXPECT_EQ(host.steps,
              (Steps{"hide", "forget", "launch A.EXE wait @1", "launch C.EXE wait @-1", "show"}));
}

TEST(PrepareLaunch, ResolvesAndTakesTheDirectory) {
    struct Case {
        const char* line;
        const char* command;
        const char* directory;
    } cases[] = {
        {"SETUP.EXE /Q", "D:\\SETUP\\SETUP.EXE /Q", "D:\\SETUP"},
        {"TOOLS\\RUN.EXE", "D:\\SETUP\\TOOLS\\RUN.EXE", "D:\\SETUP\\TOOLS"},
        {"\\ROOT.EXE", "D:\\ROOT.EXE", "D:\\"},
        // A backslash in the arguments: the "directory" names none.
        {"SETUP.EXE /D=C:\\TEMP", "D:\\SETUP\\SETUP.EXE /D=C:\\TEMP", "D:\\SETUP\\SETUP.EXE /D=C:\\"},
        {"MISSING.EXE", "", ""},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.files = {"D:\\SETUP\\SETUP.EXE", "D:\\SETUP\\TOOLS\\RUN.EXE", "D:\\ROOT.EXE"};
        for (const std::string& file : machine.files) machine.executables[file] = {file, 33};
        PreparedLaunch prepared = PrepareLaunch(machine, c.line);
        EXPECT_EQ(prepared.commandLine, c.command) << c.line;
        EXPECT_EQ(prepared.directory, c.directory) << c.line;
    }
    // A line that grows past the limit when made absolute is refused.
    FakeMachine machine;
    std::string line = std::string(505, 'x') + ".EXE";
    machine.files = {"D:\\SETUP\\" + line};
    EXPECT_EQ(PrepareLaunch(machine, line).commandLine, "");
}

namespace {

// Windows' end-session query, answered the way the screen's window acts on
// the decision; the prompts answer at once (the trap prompt with OK).
// With sessionGoesOn, another program refuses after the screen agreed: a
// script written for the answer is taken back and the restart is owed.
void Query(ScreenModel& screen, RecordingHost& host, bool sessionGoesOn = false) {
    if (screen.runningMember.load() >= 0) screen.memberAsked = 1;
    EndSessionDecision decision = DecideEndSession(screen);
    if (sessionGoesOn && decision.answer == EndSessionAnswer::kWriteAndPass) {
        host.WriteResumeScript(decision.resumeAfter);
        host.steps.push_back("query: agreed, the session goes on");
        OweRestart(screen);
        return;
    }
    switch (decision.answer) {
        case EndSessionAnswer::kTrap:
            screen.finalRestart = 1;
            host.steps.push_back("query: trapped");
            break;
        case EndSessionAnswer::kAskThenAllow:
            host.steps.push_back("query: allowed after its box");
            host.WriteResumeScript(decision.resumeAfter);
            screen.restartNow = 1;
            break;
        case EndSessionAnswer::kRestartLater:
            host.steps.push_back("query: held back");
            screen.restartLater = 1;
            break;
        case EndSessionAnswer::kWriteAndPass:
            host.WriteResumeScript(decision.resumeAfter);
            host.steps.push_back("query: session ends");
            break;
        case EndSessionAnswer::kPass:
            host.steps.push_back("query: session ends");
            break;
    }
}

}  // namespace

// The screen's own restart does not come within its grace; restart requests
// that come later (the late restart itself, or a member's own) are handled
// again, and no query ends the session without the script for exactly the
// members still to run.
TEST(Chain, RequestsAfterARestartThatDidNotCome) {
    struct Case {
        const char* what;
        std::vector<int> policies;          // of the members in slots 0, 1, 2
        std::set<std::string> queriedDuring;  // the programs running when a query comes
        Steps steps;
    } cases[] = {
        {"a member's own trapped request after the restart that did not come is trapped",
         {kAllowRestart, kTrapRestart, kNoPolicy},
         {"A.EXE", "B.EXE"},
         {"launch A.EXE wait @0", "query: allowed after its box", "write after 0", "restart",
          "launch B.EXE wait @1", "query: trapped", "launch C.EXE wait @-1",
          "ask 0x24 Restart now?", "end"}},
        {"the late restart while the next member runs is held back until it has ended, then "
         "made with the script for the members after it",
         {kAllowRestart, kNoPolicy, kNoPolicy},
         {"A.EXE", "B.EXE"},
         {"launch A.EXE wait @0", "query: allowed after its box", "write after 0", "restart",
          "launch B.EXE wait @1", "query: held back", "write after 1", "restart",
          "launch C.EXE wait @-1", "restart", "end"}},
        {"a later allowed member writes the script for the members after it",
         {kAllowRestart, kAllowRestart, kNoPolicy},
         {"A.EXE", "B.EXE"},
         {"launch A.EXE wait @0", "query: allowed after its box", "write after 0", "restart",
          "launch B.EXE wait @1", "query: allowed after its box", "write after 1",
          "restart", "launch C.EXE wait @-1", "restart", "end"}},
        {"while the last member runs it is held back too, and made when the chain has ended",
         {kAllowRestart, kNoPolicy, kNoPolicy},
         {"A.EXE", "C.EXE"},
         {"launch A.EXE wait @0", "query: allowed after its box", "write after 0", "restart",
          "launch B.EXE wait @1", "launch C.EXE wait @-1", "query: held back",
          "restart", "end"}},
        {"without a restart that did not come, the last member's request passes",
         {kAllowRestart, kNoPolicy, kNoPolicy},
         {"C.EXE"},
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "launch C.EXE wait @-1",
          "query: session ends", "end"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        screen.allowMessage = "Restarting.";
        screen.finalRestartMessage = "Restart now?";
        const char* names[] = {"A.EXE", "B.EXE", "C.EXE"};
        for (int slot = 0; slot < 3; ++slot)
            Put(screen, slot, ButtonKind::kCheckBox, kChecked, names[slot], 1).restartPolicy =
                c.policies[slot];
        RecordingHost host(screen);
        host.duringLaunch = [&](const std::string& line) {
            if (c.queriedDuring.count(line)) Query(screen, host);
        };
        RunChainSteps(screen, host);
        Steps steps(host.steps.begin() + 2, host.steps.end());  // after "hide", "forget"
        EXPECT_EQ(steps, c.steps) << c.what;
        EXPECT_EQ(screen.restartNow.load(), 0) << c.what;
    }
}

// Installers that report a needed restart by their exit code.
TEST(Chain, ExitCodesThatAskForARestart) {
    struct Case {
        const char* what;
        int policy;
        int option;  // 1 waited for
        unsigned long code;
        int restartMode;
        std::deque<int> answers;
        Steps steps;
    } cases[] = {
        {"trapped, 3010: the trap box, the chain goes on, the final question", kTrapRestart, 1,
         3010, 0, {},
         {"launch A.EXE wait @0", "ask 0x40 Held back.", "launch B.EXE wait @-1",
          "ask 0x24 Restart now?", "end"}},
        {"trapped, 1641, Yes in the Yes/No box: restart before the next member", kTrapRestart, 1,
         1641, 4, {kAnswerYes},
         {"launch A.EXE wait @0", "ask 0x124 Held back.", "restart",
          "launch B.EXE wait @-1", "ask 0x24 Restart now?", "end"}},
        {"allowed, 3010: the allow box, the script, the program's own restart", kAllowRestart, 1,
         3010, 0, {},
         {"launch A.EXE wait @0", "ask 0x20 Restarting.", "write after 0", "restart",
          "launch B.EXE wait @-1", "restart", "end"}},
        {"allowed, 1641: the same", kAllowRestart, 1, 1641, 0, {},
         {"launch A.EXE wait @0", "ask 0x20 Restarting.", "write after 0", "restart",
          "launch B.EXE wait @-1", "restart", "end"}},
        {"not waited for: as before", kAllowRestart, 0, 3010, 0, {},
         {"launch A.EXE @0", "launch B.EXE wait @-1", "end"}},
        {"no policy: as before", kNoPolicy, 1, 3010, 0, {},
         {"launch A.EXE wait @0", "launch B.EXE wait @-1", "end"}},
        {"another exit code: as before", kAllowRestart, 1, 1603, 0, {},
         {"launch A.EXE wait @0", "launch B.EXE wait @-1", "end"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        screen.restartMode = c.restartMode;
        screen.trapMessage = "Held back.";
        screen.allowMessage = "Restarting.";
        screen.finalRestartMessage = "Restart now?";
        Put(screen, 0, ButtonKind::kCheckBox, kChecked, "A.EXE", c.option).restartPolicy = c.policy;
        Put(screen, 1, ButtonKind::kCheckBox, kChecked, "B.EXE", 1);
        RecordingHost host(screen);
        host.exitCodes["A.EXE"] = c.code;
        host.answers = c.answers;
        RunChainSteps(screen, host);
        Steps steps(host.steps.begin() + 2, host.steps.end());
        EXPECT_EQ(steps, c.steps) << c.what;
    }

    // The chain's last member: nothing to resume, the restart at the end.
    ScreenModel last;
    last.allowMessage = "Restarting.";
    Put(last, 0, ButtonKind::kCheckBox, kChecked, "A.EXE", 1).restartPolicy = kAllowRestart;
    RecordingHost host(last);
    host.exitCodes["A.EXE"] = 3010;
    RunChainSteps(last, host);
    EXPECT_EQ(host.steps, (Steps{"hide", "forget", "launch A.EXE wait @-1", "ask 0x20 Restarting.",
                                 "restart", "end"}));
}

// Restart requests that the chain must not lose or repeat: a restart the
// screen let through that another program refused is owed and made at the
// chain's end; a prompt answered after the last member still counts; a
// member whose failure box is open is resumed; an installer that asked and
// then reports it by its exit code is answered once.
TEST(Chain, RequestsThatAreNeitherLostNorRepeated) {
    struct Case {
        const char* what;
        int policyB;                  // of member B in slot 1; A and C have none
        const char* queriedDuring;    // "A.EXE", "B.EXE", "box" (B's failure box), "end"
        bool sessionGoesOn;
        unsigned long exitCodeB;
        Steps steps;
    } cases[] = {
        {"let through, refused by another program: owed, made at the end", kAllowRestart,
         "B.EXE", true, 0,
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "write after 1",
          "query: agreed, the session goes on", "launch C.EXE wait @-1", "restart", "end"}},
        {"the allow box answered after the last member: the restart before the end",
         kAllowRestart, "end", false, 0,
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "launch C.EXE wait @-1", "restart",
          "end"}},
        {"a restart while B's failure box is open: the script still lists B", kAllowRestart,
         "box", false, 0,
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "ask 0x122 B failed",
          "query: allowed after its box", "write after 0", "restart", "launch B.EXE wait @1",
          "launch C.EXE wait @-1", "restart", "end"}},
        {"trapped, asked, then 1641: one trap, the final question", kTrapRestart, "B.EXE",
         false, 1641,
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "query: trapped",
          "launch C.EXE wait @-1", "ask 0x24 Restart now?", "end"}},
        {"allowed with its box, asked, then 3010: one box, one script", kAllowRestart, "B.EXE",
         false, 3010,
         {"launch A.EXE wait @0", "launch B.EXE wait @1", "query: allowed after its box",
          "write after 1", "restart", "launch C.EXE wait @-1", "restart", "end"}},
    };
    for (const Case& c : cases) {
        ScreenModel screen;
        screen.trapMessage = "Held back.";
        screen.finalRestartMessage = "Restart now?";
        bool box = std::string(c.queriedDuring) == "box";
        if (!c.sessionGoesOn) screen.allowMessage = "Restarting.";  // else let through at once
        Put(screen, 0, ButtonKind::kCheckBox, kChecked, "A.EXE", 1);
        Put(screen, 1, ButtonKind::kCheckBox, kChecked, "B.EXE", 1).restartPolicy = c.policyB;
        screen.Button(1)->failureMessage = "B failed";
        Put(screen, 2, ButtonKind::kCheckBox, kChecked, "C.EXE", 1);
        RecordingHost host(screen);
        host.exitCodes["B.EXE"] = c.exitCodeB;
        if (box) {
            host.failing = {"B.EXE"};
            host.failuresLeft = 1;
            host.answers = {kAnswerRetry};
        }
        host.duringLaunch = [&](const std::string& line) {
            if (line == c.queriedDuring) Query(screen, host, c.sessionGoesOn);
        };
        host.duringAsk = [&](const std::string& text) {
            if (box && text == "B failed") Query(screen, host);
        };
        host.duringWait = [&](int call) {
            // The allow prompt of a query during the last member (nothing
            // left to resume) is answered only now.
            if (call == 3 && std::string(c.queriedDuring) == "end") screen.restartNow = 1;
        };
        RunChainSteps(screen, host);
        Steps steps(host.steps.begin() + 2, host.steps.end());
        EXPECT_EQ(steps, c.steps) << c.what;
    }
}
