#include "launch/process_start.h"

#include "script/program_paths.h"
#include "script/text_trim.h"

namespace {

std::string WithoutLeadingBlanks(const std::string& text, std::size_t from) {
    return from < text.size() ? SkipLeadingBlanks(text.c_str() + from) : std::string();
}

// Where an unquoted program ends: the shortest leading part that names a
// file, else the first white character (or the end).
std::size_t ProgramEnd(Machine& machine, const std::string& line) {
    std::size_t firstBlank = std::string::npos;
    for (std::size_t pos = 0; pos <= line.size(); ++pos) {
        if (pos < line.size() && !IsWhiteChar(line[pos])) continue;
        if (firstBlank == std::string::npos) firstBlank = pos;
        if (FileExists(machine, line.substr(0, pos))) return pos;
    }
    return firstBlank;
}

// CreateProcessA without an application name cuts an unquoted program at
// each blank in turn and starts the first part that names a program: for
// "D:\SETUP FILES\INSTALL.EXE" that is D:\SETUP.EXE where one exists. The
// program is quoted, so that the file the split found is the one that
// starts; the application name stays empty, as 16-bit programs need it.
std::string WithProgramQuoted(Machine& machine, const std::string& commandLine) {
    std::string line = SkipLeadingBlanks(commandLine.c_str());
    if (line.empty() || line[0] == '"') return commandLine;
    std::size_t end = ProgramEnd(machine, line);
    for (std::size_t pos = 0; pos < end; ++pos) {
        if (IsWhiteChar(line[pos])) return "\"" + line.substr(0, end) + "\"" + line.substr(end);
    }
    return commandLine;
}

}  // namespace

ProgramAndParameters SplitProgram(Machine& machine, const std::string& commandLine) {
    std::string line = SkipLeadingBlanks(commandLine.c_str());
    ProgramAndParameters split;
    if (!line.empty() && line[0] == '"') {
        std::size_t close = line.find('"', 1);
        if (close == std::string::npos) close = line.size();
        split.program = line.substr(1, close - 1);
        split.parameters = WithoutLeadingBlanks(line, close + 1);
        return split;
    }
    std::size_t end = ProgramEnd(machine, line);
    split.program = line.substr(0, end);
    split.parameters = WithoutLeadingBlanks(line, end);
    return split;
}

bool StartCommandLine(Machine& machine, const std::string& commandLine, ProcessStarter& starter,
                      StartedProcess* started) {
    *started = StartedProcess();
    unsigned long error = 0;
    if (starter.Create(WithProgramQuoted(machine, commandLine), started, &error)) return true;
    if (error != kErrorElevationRequired) return false;
    ProgramAndParameters split = SplitProgram(machine, commandLine);
    *started = StartedProcess();
    return starter.StartThroughShell(split.program, split.parameters, started);
}
