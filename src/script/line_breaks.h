#pragma once
// Line breaks written in the script as the four characters "\r\n".
#include <string>

// "\r\n" written as four characters becomes CR LF.
std::string DecodeLineBreaks(const std::string& text, int* longestLine = nullptr,
                             int* lineCount = nullptr);
// CR LF becomes the four characters "\r\n".
std::string EncodeLineBreaks(const std::string& text);
