#include "script/entry_handlers.h"

#include "script/values.h"

void EntryHandlers::Begin(const std::string& name, const std::string& value, int) {
    if (name == "TITLE") {
        screen_.title = NormalizeToken(value, false);
    } else if (name == "RUNMULTIPLE") {
        runMultiple_ = NormalizeToken(value, true) == "YES" ? 1 : 0;
    } else if (name == "INTROSOUND") {
        screen_.introSound = NormalizeToken(value, true);
    } else if (name == "TRAPREBOOTMODE") {
        screen_.restartMode = NormalizeToken(value, true) == "OK" ? 0 : 4;
    } else if (name == "TRAPREBOOT") {
        screen_.trapMessage = DecodeLineBreaks(value);
    } else if (name == "FINALREBOOT") {
        screen_.finalRestartMessage = DecodeLineBreaks(value);
    } else if (name == "ALLOWREBOOT") {
        screen_.allowMessage = DecodeLineBreaks(value);
    }
}

void EntryHandlers::Text(const std::string&, const std::string&, int) {}
void EntryHandlers::Button(const std::string&, const std::string&, int) {}
void EntryHandlers::Reference(const std::string&, const std::string&, int) {}
void EntryHandlers::IgnoreWaitProcess(const std::string&, const std::string&, int) {}
void EntryHandlers::InstallMessage(const std::string&, const std::string&, int) {}
void EntryHandlers::Message(const std::string&, const std::string&, int) {}
void EntryHandlers::ExtraText(const std::string&, const std::string&, int) {}
void EntryHandlers::Rebooted(const std::string&, const std::string&, int) {}
void EntryHandlers::Run(const std::string&, const std::string&, int) {}
