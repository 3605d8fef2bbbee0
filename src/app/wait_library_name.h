#pragma once
// Which of the two wait libraries beside the program the screen loads.
#include <string>

// The file name of the wait library for a Windows version code.
std::string WaitLibraryName(const std::string& programName, unsigned short versionCode);
