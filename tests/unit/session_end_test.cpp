#include "launch/session_end.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One event per word: "agreed:not-ours", "agreed:script", "agreed:own",
// "ended", "refused" (WM_ENDSESSION with FALSE), "called" (the chain's own
// restart call), "grace". Each event's step is recorded as "withdraw" or
// "-", and after the last one whether the chain may go on.
struct Outcome {
    std::vector<std::string> steps;
    bool mayGoOn;
};

Outcome RunEvents(const std::vector<std::string>& events) {
    SessionEnd session;
    Outcome outcome;
    for (const std::string& event : events) {
        SessionStep step = SessionStep::kNone;
        if (event == "agreed:not-ours") session.Agreed(Agreement::kNotOurs);
        if (event == "agreed:script") session.Agreed(Agreement::kWroteScript);
        if (event == "agreed:own") session.Agreed(Agreement::kOwnRestart);
        if (event == "ended") step = session.Ended(true);
        if (event == "refused") step = session.Ended(false);
        if (event == "called") session.RestartCalled();
        if (event == "grace") step = session.GraceOver();
        outcome.steps.push_back(step == SessionStep::kWithdrawAndOwe ? "withdraw" : "-");
    }
    outcome.mayGoOn = session.ChainMayGoOn();
    return outcome;
}

using Steps = std::vector<std::string>;

}  // namespace

TEST(SessionEnd, EventSequences) {
    struct Case {
        const char* what;
        std::vector<std::string> events;
        Steps steps;
        bool mayGoOn;
    } cases[] = {
        {"nothing happened", {}, {}, true},
        {"an allowed member's restart agreed to: the chain holds until the answer",
         {"agreed:script"}, {"-"}, false},
        {"the session ends: the chain holds for good", {"agreed:script", "ended"}, {"-", "-"},
         false},
        {"the session goes on: the script is taken back, the restart owed",
         {"agreed:script", "refused"}, {"-", "withdraw"}, true},
        {"a restart that is not the chain's: the session goes on, nothing to take back",
         {"agreed:not-ours", "refused"}, {"-", "-"}, true},
        {"held while another program's answer is awaited", {"agreed:not-ours"}, {"-"}, false},
        {"a refusal to a query the screen refused changes nothing", {"refused"}, {"-"}, true},
        {"the own restart: held until its query or its grace", {"called"}, {"-"}, false},
        {"no query within the grace: it has not come", {"called", "grace"}, {"-", "withdraw"},
         true},
        {"queried, answered, then the session goes on", {"called", "agreed:own", "refused"},
         {"-", "-", "withdraw"}, true},
        {"queried: the grace no longer counts, the answer is awaited",
         {"called", "agreed:own", "grace"}, {"-", "-", "-"}, false},
        {"queried, a slow answer past the grace, then the session goes on",
         {"called", "agreed:own", "grace", "refused"}, {"-", "-", "-", "withdraw"}, true},
        {"queried, the session ends after the grace", {"called", "agreed:own", "grace", "ended"},
         {"-", "-", "-", "-"}, false},
        {"agreed for the own restart before it is called: a refusal leaves the script to that "
         "call",
         {"agreed:own", "refused"}, {"-", "-"}, true},
        {"the call while an answer is awaited: the grace takes nothing back",
         {"agreed:own", "called", "grace"}, {"-", "-", "-"}, false},
        {"... and the refusal that follows does", {"agreed:own", "called", "grace", "refused"},
         {"-", "-", "-", "withdraw"}, true},
        {"a second call starts a fresh grace", {"called", "grace", "called", "grace"},
         {"-", "withdraw", "-", "withdraw"}, true},
        {"a grace without a call does nothing", {"grace"}, {"-"}, true},
    };
    for (const Case& c : cases) {
        Outcome outcome = RunEvents(c.events);
        EXPECT_EQ(outcome.steps, c.steps) << c.what;
        EXPECT_EQ(outcome.mayGoOn, c.mayGoOn) << c.what;
    }
}
