#pragma once
// What the designer page draws and edits, as JSON: one reading of the
// script by the program's reader for a chosen system language and Windows
// version (background, buttons, texts, fonts), the entries with their lines
// and fields, the checker's findings for every system, and what the drive
// reads before the screen appears ("readBudget", as `check` counts it).
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "check/script_checker.h"
#include "reading/systems.h"

struct DesignReading {
    ScriptTarget target;            // scriptPath: the text to read (the script or an edited copy)
    std::string scriptBytes;       // that text
    std::string scriptName;        // the script's own name, as the disc spells it
    std::vector<int> lineOrigins;  // per line: the script's line, or -(i + 1) for new entry i
    const SystemLanguage* language = nullptr;
    const WindowsSystem* windows = nullptr;
    int scale = 1;  // the screen's whole factor on the page's display
};

nlohmann::json ReadDesignModel(const DesignReading& reading);

// Whether the script's bytes are UTF-8 as the reader takes them: with the
// mark, or valid UTF-8 holding a multi-byte sequence.
bool IsUtf8Script(const std::string& bytes);
// Text between the script's encoding and the page's UTF-8. ToScript is false
// when a character has no place in the code page.
std::string ToPageText(const std::string& text, int codePage);
bool ToScriptText(const std::string& text, int codePage, std::string* out);
// A file's name for the page: UTF-8 as it is, any other in the code page.
std::string ToPageName(const std::string& name, int codePage);
