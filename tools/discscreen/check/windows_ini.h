#pragma once
// An INI file's sections and entries as Windows' profile reader takes them:
// a header is a line that starts with '[' (after blanks), a comment one that
// starts with ';', an entry "key=value" with blanks around both taken off
// and one pair of quotes around the value too. Names keep their letter case
// here; Windows compares them without it.
#include <cstddef>
#include <string>
#include <vector>

struct IniEntry {
    std::string key;
    std::string value;
    int line = 0;
    int valueColumn = 1;     // where the value starts, 1 for the first byte
    std::size_t offset = 0;  // of the line's first byte in the file
    bool hasEquals = true;   // false: a line of text alone (a path list's entry)
};

struct IniSection {
    std::string name;  // between the brackets
    int line = 0;
    std::size_t offset = 0;
    std::vector<IniEntry> entries;
};

std::vector<IniSection> ReadWindowsIni(const std::string& bytes);
