#pragma once
// Where the screen script is: named on the command line, or beside the
// program under the program's name.
#include <string>

class Machine;

// The arguments part of the process's command line: the text after the
// program's own name (quoted or not), untouched otherwise.
std::string CommandLineArguments(const std::string& commandLine);
// The script to read: the arguments trimmed and upper-cased, or the
// program's name with ".INF" beside the program.
std::string ScriptPathFor(Machine& machine, const std::string& arguments,
                          const std::string& programName);
