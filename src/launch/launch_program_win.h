#pragma once
// Starts one program or document of the script and, when asked, waits for it
// through the wait library. Posts the launch notices to the screen.
#include <windows.h>

#include <string>
#include <vector>

class Machine;

struct LaunchRequest {
    std::string commandLine;  // as the script gives it, arguments included
    std::string programDirectory;
    const char* installMessage = nullptr;  // lives as long as the screen; may be empty
    const std::vector<std::string>* ignoreList = nullptr;
    bool wait = false;
    HMODULE waitLibrary = nullptr;
    unsigned long* exitCode = nullptr;  // set to the exit code after a wait, else to 0
};

// True when the process was created.
bool LaunchProgram(HWND screen, Machine& machine, const LaunchRequest& request);
