#pragma once
#include <string>

// Every message box of the program: no owner, task-modal, in front. An empty
// text shows nothing and answers 0.
int ShowMessage(const std::string& text, const std::string& caption, unsigned type);
