#pragma once
// A page that a command serves on 127.0.0.1 (the designer's, a try's): the
// token every request of one run must carry, and opening the page in the
// browser where there is a display.
#include <string>

// 32 hexadecimal digits from the system's random source, new for each run.
std::string NewToken();
// Opens `url` in the desktop's browser, without waiting for it; nothing
// without a display.
void OpenBrowser(const std::string& url);
