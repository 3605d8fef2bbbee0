#pragma once
// Starting a resolved command line. It is created as a new process; when the
// system refuses because the program asks for administrator rights (Windows
// Vista and later), it is started again through the shell, which asks the
// user for them. Either way the caller gets the process to wait for.
#include <string>

class Machine;

// ERROR_ELEVATION_REQUIRED: the program's manifest asks for rights that the
// starting program does not hold.
constexpr unsigned long kErrorElevationRequired = 740;

struct StartedProcess {
    void* process = nullptr;  // handle; null when the shell started no process
    void* thread = nullptr;   // handle; null for a start through the shell
    unsigned long id = 0;     // 0 when the system cannot tell
};

// The system's two ways of starting a program.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Creates a process for the command line as it is. On failure returns
    // false and sets `error` to the system's error code.
    virtual bool Create(const std::string& commandLine, StartedProcess* started,
                        unsigned long* error) = 0;
    // Starts the program with its parameters through the shell, keeping the
    // process handle. False when it did not start (or the user declined).
    virtual bool StartThroughShell(const std::string& program, const std::string& parameters,
                                   StartedProcess* started) = 0;
};

// True when the command line's program was started.
bool StartCommandLine(Machine& machine, const std::string& commandLine, ProcessStarter& starter,
                      StartedProcess* started);

// A command line cut into its program and the parameters after it, as the
// shell takes them: a program in quotes ends at the closing quote, any
// other at the first white character where the text so far names an
// existing file (or, when none does, at the first white character).
struct ProgramAndParameters {
    std::string program;
    std::string parameters;
};
ProgramAndParameters SplitProgram(Machine& machine, const std::string& commandLine);
