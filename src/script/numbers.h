#pragma once
// Numbers of the screen script, and the keywords that stand for numbers.
#include <cstddef>
#include <string>

// Reads the first number in the text (a "-" right before its first digit
// belongs to it), or the keyword value of a text without digits.
int ParseNumberOrKeyword(const std::string& text, std::size_t* numberPos = nullptr);
// A decimal integer from the start of the field after leading white space;
// 0 without digits. Saturates instead of overflowing.
int ParseInteger(const std::string& field);
