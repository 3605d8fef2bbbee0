#pragma once
// The system's ways of starting a program: CreateProcessA, and
// ShellExecuteExA for a program that asks for administrator rights.
#include "launch/process_start.h"

class WinProcessStarter : public ProcessStarter {
public:
    bool Create(const std::string& commandLine, StartedProcess* started,
                unsigned long* error) override;
    bool StartThroughShell(const std::string& program, const std::string& parameters,
                           StartedProcess* started) override;
};

// Closes the handles that a start left open.
void CloseStartedProcess(const StartedProcess& started);
