#pragma once
// The systems a preview can pretend to be: a system language, told to Wine
// through LC_ALL, and a Windows version, told through Wine's Version value.
#include <string>

#include "script/machine.h"

struct SystemLanguage {
    const char* code;    // what the author types: "de", "pt-BR"
    const char* locale;  // LC_ALL for Wine
    unsigned short id;   // what GetSystemDefaultLangID then reports
    int codePage;        // the ANSI code page of such a system
};

struct WindowsSystem {
    const char* name;         // what the author types: "95", "98se", "later"
    const char* wineVersion;  // Wine's Version value; "win98fe" and "" are set apart
    unsigned short code;      // the program's number for this Windows
    OsVersionInfo info;
};

// Null for a code or name not in the tables.
const SystemLanguage* FindSystemLanguage(const std::string& code);
const WindowsSystem* FindWindowsSystem(const std::string& name);
// The choices, for a usage message: "de, en, ..."
std::string SystemLanguageCodes();
std::string WindowsSystemNames();
