#include "launch/run_once.h"

RunOnceRoot RegisterRunOnce(RunOnceKeys& keys, const std::string& name,
                            const std::string& command) {
    if (keys.Store(RunOnceRoot::kMachine, name, command)) return RunOnceRoot::kMachine;
    if (keys.Store(RunOnceRoot::kUser, name, command)) return RunOnceRoot::kUser;
    return RunOnceRoot::kNone;
}

void UnregisterRunOnce(RunOnceKeys& keys, RunOnceRoot root, const std::string& name,
                       const std::string& command) {
    if (root == RunOnceRoot::kNone) return;
    if (keys.Holds(root, name, command)) keys.Remove(root, name);
}
