#pragma once
// What the program would show on one system: the screen's title and a point
// on each button's picture, read from the script with the program's reader.
#include <string>
#include <vector>

#include "reading/screen_reading.h"
#include "reading/systems.h"

struct ShownButton {
    int number;
    ButtonKind kind;
    bool checked;  // a check box that starts checked
    int x, y;  // the middle of its picture, in the screen's coordinates
};

struct ShownScreen {
    std::string title;  // in the script's bytes
    int width = 0;      // the background picture's size; 0 without one
    int height = 0;
    std::string backgroundPath;  // as the script names it; "" without one
    std::vector<ShownButton> buttons;
};

ShownScreen ReadShownScreen(const ScriptTarget& target, const SystemLanguage& language,
                            const WindowsSystem& windows);

// The disc folder's script (AUTORUN.INF whatever its letter case) as a
// checker's target; false when the folder holds none.
bool DiscTargetOf(const std::string& folder, ScriptTarget* target);
