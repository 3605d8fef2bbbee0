#include "launch/action_gate.h"

#include <gtest/gtest.h>

#include <string>

// Each case is a sequence of events on a fresh gate, written as letters:
//   s start (expect the answer in `answers`), f finish, x cancel a start,
//   c close (expect the close answer)
// and what each event answered: 1/0 for start and finish, N/W/A for close
// (now, when done, already asked), - for cancel.
TEST(ActionGate, Sequences) {
    struct Case {
        const char* what;
        const char* events;
        const char* answers;
        bool closePendingAtEnd;
    } cases[] = {
        {"idle closes at once", "c", "N", false},
        {"one action at a time", "ssfs", "1001", false},
        {"a start that failed frees the gate", "sxs", "1-1", false},
        {"close while running waits for the action", "scf", "1W1", false},
        {"a second close while pending is no new request", "sccf", "1WA1", false},
        {"no start while a close is pending", "scs", "1W0", true},
        {"after the pending close ends the action, the gate is idle", "scfsc", "1W11W", true},
        {"finish without a close asks nothing", "sfc", "10N", false},
    };
    for (const Case& c : cases) {
        ActionGate gate;
        std::string answers;
        for (const char* event = c.events; *event; ++event) {
            switch (*event) {
                case 's': answers += gate.TryStart() ? '1' : '0'; break;
                case 'f': answers += gate.Finish() ? '1' : '0'; break;
                case 'x': gate.CancelStart(); answers += '-'; break;
                case 'c':
                    switch (gate.RequestClose()) {
                        case ActionGate::CloseAnswer::kCloseNow: answers += 'N'; break;
                        case ActionGate::CloseAnswer::kCloseWhenDone: answers += 'W'; break;
                        case ActionGate::CloseAnswer::kAlreadyAsked: answers += 'A'; break;
                    }
                    break;
            }
        }
        EXPECT_EQ(answers, c.answers) << c.what;
        EXPECT_EQ(gate.CloseRequested(), c.closePendingAtEnd) << c.what;
    }
}
