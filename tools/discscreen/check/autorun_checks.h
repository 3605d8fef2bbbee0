#pragma once
// Windows' own sections of AUTORUN.INF at the disc's root, checked as each
// Windows reads them (check/autorun_facts.h): what open= and shellexecute=
// start, the icon, the label, the menu verbs, keys no Windows reads, and the
// reader's limits. Errors for what keeps the disc from starting, warnings
// and notes for the rest.
#include "check/findings.h"
#include "reading/screen_reading.h"

void CheckAutorunSections(const ScriptTarget& target, Report& report);
