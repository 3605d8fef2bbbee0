#pragma once
// The screen script of a new disc, in code page 1252 with CR LF line ends:
// its settings, one caption and one help text per button, the buttons with
// the style's strips, and each item's messages. Windows' [autorun] section
// is not part of it: the writer that image uses puts that in.
#include <string>

#include "new/screen_layout.h"
#include "pictures/screen_styles.h"

struct ScriptPictures {
    std::string background = "BACK.BMP";
    std::string push = "PUSH.BMP";
    std::string install = "INSTALL.BMP";
    std::string exit = "EXIT.BMP";
    std::string check = "CHECK.BMP";
};

// `title` in code page 1252.
std::string ScreenScriptText(const ScreenLayout& layout, const std::string& title, const ScreenStyle& style,
                             const ScriptPictures& pictures);
