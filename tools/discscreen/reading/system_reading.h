#pragma once
// One of the checker's readings of a script, as it stands when the reader
// is done: for a tool that wants to know what that system would load.
#include <string>

#include "reading/check_host.h"
#include "script/screen_model.h"

struct SystemReading {
    const std::string& description;  // "[GER] systems on Windows 98"
    const ScreenModel& screen;
    const CheckHost& host;
    Machine& machine;
    unsigned short windowsVersion;  // the program's number of the reading's Windows
};

class ReadingObserver {
public:
    virtual ~ReadingObserver() = default;
    virtual void OnSystemRead(const SystemReading& reading) = 0;
};
