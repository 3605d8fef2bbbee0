#pragma once
// The command line a button runs: its command followed by the words of the
// checked boxes its reference list names.
#include <string>

#include "script/screen_model.h"

// Safe to call from any thread while the screen's thread toggles check
// boxes: it keeps no state and reads each referenced state once.
std::string BuildCommandLine(const ScreenItem& item, const ScreenModel& screen);
