#pragma once
// Reads a screen script with the program's own reader once for every system
// language and Windows version that the script names, and once for a system
// it does not name, and reports what the program would do differently from
// what the author evidently meant.
#include <string>

#include "check/findings.h"
#include "reading/screen_reading.h"

// `observer`, when given, sees each reading once the reader is done.
void CheckScript(const ScriptTarget& target, Report& report, ReadingObserver* observer = nullptr);
