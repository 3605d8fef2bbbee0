#pragma once
// What each Windows reads of AUTORUN.INF at a disc's root: its sections, the
// keys of each, the first Windows that reads a key, and the limits of its
// reader. Every fact names where it is written down (autorun_facts.cpp).
#include <cstddef>
#include <string>

struct AutorunSectionFact {
    const char* name;          // lower case: "autorun", "autorun.alpha", "content"
    bool startsDisc;           // holds open=, icon= ...: one of these is the disc's section
    const char* readBy;        // "every Windows", "Windows NT 4 on Alpha processors"
};

struct AutorunKeyFact {
    const char* section;       // the section's name, or "*" for [autorun] and each processor's
    const char* key;           // lower case; "shell\\*" and "shell\\*\\command" for verbs
    const char* firstWindows;  // the first Windows that reads it
    bool onEveryMedium;        // Windows 7 and later read it from drives other than CDs and DVDs too
};

// The section of that name (any letter case), or null.
const AutorunSectionFact* FindAutorunSection(const std::string& name);
// The key of that section (any letter case; a verb's keys by their pattern),
// or null when no Windows reads it there.
const AutorunKeyFact* FindAutorunKey(const std::string& section, const std::string& key);

// Windows shows no more of label= than this many characters ("Autorun.inf
// Entries", learn.microsoft.com/windows/win32/shell/autorun-cmds).
constexpr std::size_t kLabelShownCharacters = 32;
// Windows 95, 98 and ME read no further into an INI file than this
// (Microsoft KB Q78346 and Q230194; autorun_facts.cpp).
constexpr std::size_t kOldWindowsIniBytes = 64 * 1024;
// The first Windows that reads each of these (sources in autorun_facts.cpp).
extern const char kShellExecuteWindows[];  // shellexecute=
extern const char kPngIconWindows[];       // icon images stored as PNG
extern const char kAlphaIconWindows[];     // 32-bit icon images (with alpha)
