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
// The decimal text of a number, "-" before a negative one (std::to_string
// brings a 200-byte table of digit pairs into the program).
std::string DecimalText(int value);

// The fields that take a keyword (the reader reads any keyword in any field
// as its number; these say where each one is meant).
enum KeywordFields : unsigned {
    kButtonKindField = 1,
    kButtonStateField = 2,
    kButtonOptionField = 4,
    kWaitOptionField = 8,    // of a [RUN] or [REBOOTED] entry
    kNormalColourField = 16, // of a TEXT entry
    kYesNoField = 32,        // RUNMULTIPLE
};
// The keyword at `index` (from 0), its number and its fields; null past the
// last.
const char* KeywordAt(int index, int* value, unsigned* fields);
