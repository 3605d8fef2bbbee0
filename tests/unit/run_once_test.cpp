#include "launch/run_once.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

// The two keys; a key that is not writable refuses every store.
struct FakeKeys : RunOnceKeys {
    bool machineWritable = true;
    bool userWritable = true;
    std::map<std::pair<RunOnceRoot, std::string>, std::string> values;

    bool Store(RunOnceRoot root, const std::string& name, const std::string& command) override {
        if (!(root == RunOnceRoot::kMachine ? machineWritable : userWritable)) return false;
        values[{root, name}] = command;
        return true;
    }
    bool Holds(RunOnceRoot root, const std::string& name, const std::string& command) override {
        auto it = values.find({root, name});
        return it != values.end() && it->second == command;
    }
    void Remove(RunOnceRoot root, const std::string& name) override { values.erase({root, name}); }
};

}  // namespace

TEST(RunOnce, MachineKeyElseUsersKey) {
    struct Case {
        bool machine, user;
        RunOnceRoot root;
    } cases[] = {
        {true, true, RunOnceRoot::kMachine},
        {false, true, RunOnceRoot::kUser},  // a user without the right to write HKLM
        {false, false, RunOnceRoot::kNone},
    };
    for (const Case& c : cases) {
        FakeKeys keys;
        keys.machineWritable = c.machine;
        keys.userWritable = c.user;
        RunOnceRoot root = RegisterRunOnce(keys, "AUTORUN", "D:\\AUTORUN C:\\T\\A.INF");
        EXPECT_EQ(root, c.root);
        EXPECT_EQ(keys.values.size(), c.root == RunOnceRoot::kNone ? 0u : 1u);
        // Taken back from where it went, and only from there.
        keys.values[{RunOnceRoot::kMachine, "OTHER"}] = "X";
        UnregisterRunOnce(keys, root, "AUTORUN", "D:\\AUTORUN C:\\T\\A.INF");
        EXPECT_EQ(keys.values.size(), 1u);
    }
}

TEST(RunOnce, AValueThatALaterCopyReplacedStays) {
    FakeKeys keys;
    keys.machineWritable = false;
    RunOnceRoot root = RegisterRunOnce(keys, "AUTORUN", "D:\\AUTORUN C:\\T\\A.INF");
    keys.values[{RunOnceRoot::kUser, "AUTORUN"}] = "D:\\AUTORUN C:\\T\\B.INF";
    UnregisterRunOnce(keys, root, "AUTORUN", "D:\\AUTORUN C:\\T\\A.INF");
    EXPECT_EQ((keys.values[{RunOnceRoot::kUser, "AUTORUN"}]), "D:\\AUTORUN C:\\T\\B.INF");
}
