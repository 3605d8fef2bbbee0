#pragma once
// The system's RunOnce keys through the registry.
#include <string>

#include "launch/run_once.h"

class RegistryRunOnceKeys : public RunOnceKeys {
public:
    bool Store(RunOnceRoot root, const std::string& name, const std::string& command) override;
    bool Holds(RunOnceRoot root, const std::string& name, const std::string& command) override;
    void Remove(RunOnceRoot root, const std::string& name) override;
};
