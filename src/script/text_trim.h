#pragma once
// White space of the screen script and trimming it.
#include <string>

// Space, tab, CR and LF.
bool IsWhiteChar(char ch);
// Space, tab, LF, VT, FF and CR.
bool IsTrimChar(char ch);

// The text without the wider white set at both ends.
std::string Trimmed(const std::string& text);

const char* SkipLeadingBlanks(const char* text);
char* CutTrailingBlanks(char* text);
