#include "app/script_location.h"

#include "script/program_paths.h"
#include "script/upper_case.h"

std::string CommandLineArguments(const std::string& commandLine) {
    std::size_t pos = 0;
    while (pos < commandLine.size() && (commandLine[pos] == ' ' || commandLine[pos] == '\t')) ++pos;
    if (pos < commandLine.size() && commandLine[pos] == '"') {
        std::size_t close = commandLine.find('"', pos + 1);
        pos = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && commandLine[pos] != ' ' && commandLine[pos] != '\t') ++pos;
    }
    return commandLine.substr(pos);
}

std::string ScriptPathFor(Machine& machine, const std::string& arguments,
                          const std::string& programName) {
    std::string path = UpperCaseToken(machine, arguments);
    if (path.empty()) path = ResolveScriptPath(machine, programName + ".INF");
    return path;
}
