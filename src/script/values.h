#pragma once
// Small value functions of the screen script: trimming, upper-casing,
// numbers written as keywords, escaped line breaks, field lists.
#include <cstddef>
#include <string>
#include <vector>

// Longest path or command line that the program passes to the system.
constexpr std::size_t kMaxPathChars = 519;

// Space, tab, CR and LF.
bool IsWhiteChar(char ch);
// Space, tab, LF, VT, FF and CR.
bool IsTrimChar(char ch);

// Trims the wider white set at both ends; with upper, also upper-cases,
// treating a double-byte character as one.
std::string NormalizeToken(const std::string& text, bool upper);
std::string UpperCase(const std::string& text);

// Reads the first number in the text (a "-" right before its first digit
// belongs to it), or the keyword value of a text without digits.
int ParseNumberOrKeyword(const std::string& text, std::size_t* numberPos = nullptr);
// A decimal integer from the start of the field after leading white space;
// 0 without digits. Saturates instead of overflowing.
int ParseInteger(const std::string& field);

// "\r\n" written as four characters becomes CR LF.
std::string DecodeLineBreaks(const std::string& text, int* longestLine = nullptr,
                             int* lineCount = nullptr);
// CR LF becomes the four characters "\r\n".
std::string EncodeLineBreaks(const std::string& text);

const char* SkipLeadingBlanks(const char* text);
char* CutTrailingBlanks(char* text);
const char* FindExtension(const char* path);

// Splits like strtok: runs of separators count as one, separators at the
// ends are ignored, so no field is empty.
std::vector<std::string> SplitFields(const std::string& text, char separator = ',');
