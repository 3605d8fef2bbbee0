#pragma once
// Reads a screen script with the program's own reader once for every system
// language and Windows version that the script names, and once for a system
// it does not name, and reports what the program would do differently from
// what the author evidently meant.
#include <string>

#include "check/findings.h"
#include "reading/system_reading.h"

struct CheckTarget {
    std::string scriptPath;   // the script on this machine
    std::string discFolder;   // the folder that stands for the disc's root
    std::string programName;  // the program beside the script, without ".EXE"
    int codePage = 0;         // 0: the code page of each reading's language
};

// `observer`, when given, sees each reading once the reader is done.
void CheckScript(const CheckTarget& target, Report& report, ReadingObserver* observer = nullptr);
