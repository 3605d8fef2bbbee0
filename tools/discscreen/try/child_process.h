#pragma once
// A program this tool starts in a process group of its own (so that the
// terminal's Ctrl-C reaches this tool alone, which then ends it in order),
// and ends by its own pid or group.
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts argv with the environment given on top of this one's (NAME=VALUE);
    // listening, when >= 0, becomes its standard input; output to outFile
    // when one is named.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               int standardInput, const std::string& outFile);
    bool Running();
    // SIGTERM, a wait of up to graceSeconds, then SIGKILL to its group; the
    // exit status (128 + signal for a signal).
    int End(int graceSeconds);
    pid_t Id() const { return pid_; }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};
