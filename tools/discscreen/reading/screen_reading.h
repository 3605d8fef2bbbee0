#pragma once
// One reading of a script as the program makes it on one system: the disc
// folder as drive D:, the machine of that system (language, Windows version,
// code page), and the screen model the reader fills. Every command that asks
// what a system would show or load reads through this.
#include <string>
#include <vector>

#include "reading/check_host.h"
#include "reading/disc_folder.h"
#include "reading/systems.h"
#include "script/screen_model.h"
#include "script/script_listener.h"

// The script to read and the folder that stands for the disc's root.
struct ScriptTarget {
    std::string scriptPath;   // the script on this machine
    std::string discFolder;   // the folder that stands for the disc's root
    std::string programName;  // the program beside the script, without ".EXE"
    int codePage = 0;         // 0: the code page of each reading's language
};

// A system the script is read for.
struct TargetSystem {
    std::string description;     // "[GER] systems on Windows 98"
    unsigned short language = 0x0409;
    OsVersionInfo version;
    unsigned short windowsCode = 0;  // the program's number for that Windows
    int codePage = 1252;             // the ANSI code page of that system
};

// The system a preview or the designer pretends to be.
TargetSystem TargetSystemOf(const SystemLanguage& language, const WindowsSystem& windows);

// Every system whose reading can differ: each language and Windows version
// that the script's headers name, and one that they do not name.
std::vector<TargetSystem> SystemsOfScript(const ScriptTarget& target);

class ScreenReading {
public:
    // A code page given with the target stands for every system's own.
    ScreenReading(const ScriptTarget& target, const TargetSystem& system);
    ScreenReading(const ScreenReading&) = delete;
    ScreenReading& operator=(const ScreenReading&) = delete;

    // Reads the script through `host` (one made on this reading's disc and
    // machine), telling `listener` what each line does.
    void Read(ScriptHost& host, ScriptListener* listener = nullptr);

    DiscFolder disc;
    DiscMachine machine;
    ScreenModel screen;

private:
    std::string scriptPath_;
};

// One reading of every system, as it stands when the reader is done: for a
// tool that wants to know what that system would load.
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
    // Before each reading: a listener for the reader, or none.
    virtual ScriptListener* BeforeReading(const TargetSystem&, ScreenReading&, CheckHost&) { return nullptr; }
    virtual void OnSystemRead(const SystemReading& reading) = 0;
};

// Reads the script once for each of SystemsOfScript, with a CheckHost.
void ReadEverySystem(const ScriptTarget& target, ReadingObserver& observer);
