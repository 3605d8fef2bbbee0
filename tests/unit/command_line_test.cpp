#include "script/command_line.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "fake_machine.h"
#include "fake_script_host.h"

namespace {

// Slot 2 a checked box, 3 an unchecked one, 4 a push button asking for the
// focus (state 1 but no box), 5 a [RUN] member, 1 the button whose command
// is built.
struct Chain {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;

    Chain() {
        ReadScript(machine, model, host,
                   "[BUTTON]\n"
                   "BUTTON1=PUSHBUTTON,0,0,1,1,0,0, , , , ,setup.exe /q\n"
                   "BUTTON2=CHECKBOX,0,0,1,1,CHECK\n"
                   "BUTTON3=CHECKBOX,0,0,1,1,UNCHECK\n"
                   "BUTTON4=PUSHBUTTON,0,0,1,1,FOCUS\n"
                   "[RUN]\nBUTTON5=tools.exe\n");
    }
    std::string Build(const std::string& references) {
        model.buttons[1]->referenceList = references;
        return BuildCommandLine(*model.buttons[1], model);
    }
};

}  // namespace

TEST(BuildCommandLine, ReferencedWords) {
    struct Case {
        const char* references;
        const char* line;
    } cases[] = {
        {"", "setup.exe /q"},
        {"2,/A,3,/B", "setup.exe /q /A"},
        {"2,/A,5,/C", "setup.exe /q /A /C"},
        {"4,/D", "setup.exe /q"},
        // A word already contained in what was appended is left out.
        {"2,/AB,5,/A", "setup.exe /q /AB"},
        {"2,/A,5,/AB", "setup.exe /q /A /AB"},
        {"2,/A,2,/A", "setup.exe /q /A"},
        // Words of unchecked boxes do not count as seen.
        {"3,/A,2,/A", "setup.exe /q /A"},
        // A missing or empty word is never appended.
        {"2", "setup.exe /q"},
        {",,2,,/A,", "setup.exe /q /A"},
        // Words are taken as written.
        {"2, /A ", "setup.exe /q  /A "},
        // Numbers outside the slots, and slots without a record.
        {"40,/X,-1,/Y,0,/Z,6,/W", "setup.exe /q"},
        {"99999999999,/X,-99999999999,/Y", "setup.exe /q"},
        // The button may name itself; it is no checked box.
        {"1,/SELF", "setup.exe /q"},
    };
    for (const auto& c : cases) {
        Chain chain;
        EXPECT_EQ(chain.Build(c.references), c.line) << c.references;
    }
}

TEST(BuildCommandLine, SeesTheStateAtTheCall) {
    Chain chain;
    chain.model.buttons[1]->referenceList = "2,/A,3,/B";
    const ScreenItem& item = *chain.model.buttons[1];
    EXPECT_EQ(BuildCommandLine(item, chain.model), "setup.exe /q /A");
    chain.model.buttons[3]->state.store(kChecked);
    chain.model.buttons[2]->state.store(kUnchecked);
    EXPECT_EQ(BuildCommandLine(item, chain.model), "setup.exe /q /B");
    // The item's own command and list are not changed.
    EXPECT_EQ(item.command, "setup.exe /q");
    EXPECT_EQ(item.referenceList, "2,/A,3,/B");
}

// Two workers build lines while the screen's thread toggles a box: each
// line is one of the two whole answers.
TEST(BuildCommandLine, ConcurrentCallsWhileToggling) {
    Chain chain;
    chain.model.buttons[1]->referenceList = "2,/A,3,/B,5,/C";
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    auto worker = [&] {
        for (int i = 0; i < 20000; ++i) {
            std::string line = BuildCommandLine(*chain.model.buttons[1], chain.model);
            if (line != "setup.exe /q /A /C" && line != "setup.exe /q /C") ++bad;
        }
    };
    std::thread first(worker);
    std::thread second(worker);
    std::thread toggler([&] {
        while (!done.load()) {
            ScreenItem& box = *chain.model.buttons[2];
            box.state.store(box.state.load() == kChecked ? kUnchecked : kChecked);
        }
    });
    first.join();
    second.join();
    done.store(true);
    toggler.join();
    EXPECT_EQ(bad.load(), 0);
}
