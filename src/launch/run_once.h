#pragma once
// The run-once registration that brings the program back after a restart.
// The value goes under HKEY_LOCAL_MACHINE, which Windows runs at its next
// start; a user who may not write there gets it under HKEY_CURRENT_USER,
// which Windows runs when that user next logs on.
#include <string>

enum class RunOnceRoot { kNone, kMachine, kUser };

// The two RunOnce keys of the system.
class RunOnceKeys {
public:
    virtual ~RunOnceKeys() = default;
    virtual bool Store(RunOnceRoot root, const std::string& name, const std::string& command) = 0;
    // True when the value exists and holds exactly command.
    virtual bool Holds(RunOnceRoot root, const std::string& name, const std::string& command) = 0;
    virtual void Remove(RunOnceRoot root, const std::string& name) = 0;
};

// Stores the value under the machine's key, else under the user's; where it
// went, kNone when neither would take it.
RunOnceRoot RegisterRunOnce(RunOnceKeys& keys, const std::string& name,
                            const std::string& command);
// Removes the value from where it was stored, unless it no longer holds
// this command (a later copy of the program has replaced it).
void UnregisterRunOnce(RunOnceKeys& keys, RunOnceRoot root, const std::string& name,
                       const std::string& command);
