#pragma once
// A new disc's screen made in a folder of a product's files that has no
// script yet: its installers and documents found and named, the screen
// laid out and drawn in a style, the script written, and the program's
// three files copied beside it. Nothing in the folder is ever overwritten.
#include <string>
#include <vector>

#include "pictures/screen_styles.h"

struct NewDiscRequest {
    std::string folder;
    std::string title;  // UTF-8; empty: the folder's name
    const ScreenStyle* style = &ScreenStyles()[0];
};

struct NewDisc {
    int status = 0;                     // 0 made, 1 refused, 2 could not
    std::vector<std::string> said;      // what it found and made
    std::vector<std::string> problems;  // what it left out, or why it made nothing
};

NewDisc MakeNewDisc(const NewDiscRequest& request);
