#pragma once
// The handlers of the script's sections: each receives the entry name
// (trimmed, upper case), the raw value and the item number, and stores what
// it parses into the screen. Each returns whether the entry had an effect:
// false for a name the section does not know, a number outside the slots, or
// a slot the entry cannot take.
#include <string>

#include "script/script_host.h"
#include "script/screen_model.h"

class Machine;

// The entry names of the sections other than [BEGIN]: TEXTn in [TEXT],
// BUTTONn everywhere else.
constexpr char kTextKey[] = "TEXT";
constexpr char kButtonKey[] = "BUTTON";

// The keys of [BEGIN].
enum BeginKey {
    kBeginTitle, kBeginFont, kBeginIntroBitmap, kBeginRunMultiple, kBeginIntroSound,
    kBeginTrapRebootMode, kBeginTrapReboot, kBeginFinalReboot, kBeginAllowReboot,
    kBeginTrapRebootButtons, kBeginAllowRebootButtons,
    kBeginKeyCount
};
// The name of a key of [BEGIN] ("TITLE" for kBeginTitle); null outside.
const char* BeginKeyName(int key);

class EntryHandlers {
public:
    EntryHandlers(ScreenModel& screen, ScriptHost& host, Machine& machine, int& runMultiple)
        : model_(screen), host_(host), machine_(machine), runMultiple_(runMultiple) {}

    bool Begin(const std::string& name, const std::string& value, int number);
    bool Text(const std::string& name, const std::string& value, int number);
    bool Button(const std::string& name, const std::string& value, int number);
    bool Reference(const std::string& name, const std::string& value, int number);
    bool IgnoreWaitProcess(const std::string& name, const std::string& value, int number);
    bool InstallMessage(const std::string& name, const std::string& value, int number);
    bool Message(const std::string& name, const std::string& value, int number);
    bool ExtraText(const std::string& name, const std::string& value, int number);
    bool Rebooted(const std::string& name, const std::string& value, int number);
    bool Run(const std::string& name, const std::string& value, int number);

private:
    bool SetFont(int number, const std::string& value);
    bool ChainMember(const std::string& name, const std::string& value, int number);
    ScreenItem* SectionTarget(const std::string& name, int number) const;

    ScreenModel& model_;
    ScriptHost& host_;
    Machine& machine_;
    int& runMultiple_;
};
