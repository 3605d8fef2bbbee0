#pragma once
// The handlers of the script's sections: each receives the entry name
// (trimmed, upper case), the raw value and the item number, and stores what
// it parses into the screen.
#include <string>

#include "script/screen_host.h"
#include "script/screen_model.h"

class EntryHandlers {
public:
    EntryHandlers(ScreenModel& screen, ScreenHost& host, int& runMultiple)
        : screen_(screen), host_(host), runMultiple_(runMultiple) {}

    void Begin(const std::string& name, const std::string& value, int number);
    void Text(const std::string& name, const std::string& value, int number);
    void Button(const std::string& name, const std::string& value, int number);
    void Reference(const std::string& name, const std::string& value, int number);
    void IgnoreWaitProcess(const std::string& name, const std::string& value, int number);
    void InstallMessage(const std::string& name, const std::string& value, int number);
    void Message(const std::string& name, const std::string& value, int number);
    void ExtraText(const std::string& name, const std::string& value, int number);
    void Rebooted(const std::string& name, const std::string& value, int number);
    void Run(const std::string& name, const std::string& value, int number);

private:
    void SetFont(int number, const std::string& value);
    void ChainMember(const std::string& name, const std::string& value, int number);
    ScreenItem* SectionTarget(const std::string& name, int number) const;

    ScreenModel& screen_;
    ScreenHost& host_;
    int& runMultiple_;
};
