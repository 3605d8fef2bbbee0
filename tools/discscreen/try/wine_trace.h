#pragma once
// What a run did, read from Wine's trace of it: the lines of the process,
// shell-start and sound channels and the relay of a few calls (try.sh
// names them) become the run's log entries, each a JSON object with its
// "kind", its facts and a "text" for the author.
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class WineTrace {
public:
    // The entries that one line of the trace adds (mostly none).
    std::vector<nlohmann::json> Read(const std::string& line);

private:
    struct Process {
        std::string program;
        std::string folder;
        std::string lastStarted;  // the id of the process it started last
        std::string waitingFor;   // the process it waits for, if any
        bool refused = false;     // a window of it refused the session's end
        bool toldEnd = false;     // it heard how this end-session question ended
    };
    std::string ProcessOf(const std::string& thread);
    std::string NameOf(const std::string& process);
    std::vector<nlohmann::json> Started(const std::string& thread, const std::string& rest);
    nlohmann::json Exited(const std::string& thread, const std::string& rest);

    std::string root_;  // the screen started from D:, whose thread speaks first
    std::map<std::string, std::string> processOfThread_;
    std::map<std::string, Process> processes_;
    std::map<std::string, std::string> commandOfThread_;  // being started
    std::map<std::string, std::string> documentOfThread_;  // whose program is being looked up
    std::map<std::string, std::string> howOfThread_;       // "document", "shell"
    std::map<std::string, std::string> folderOfThread_;    // being made current
};

// Wine's quoted rendering of a string (L"D:\\SETUP.EXE" or "..."), back to
// its text; `at` is the opening quote and moves past the closing one.
std::string UnquoteWineString(const std::string& text, std::size_t* at);
