#include "check/windows_ini.h"

namespace {

const char kBlanks[] = " \t\r";

std::size_t SkipBlanks(const std::string& text, std::size_t at) {
    std::size_t found = text.find_first_not_of(kBlanks, at);
    return found == std::string::npos ? text.size() : found;
}

std::string TrimmedEnd(const std::string& text) {
    std::size_t last = text.find_last_not_of(kBlanks);
    return last == std::string::npos ? "" : text.substr(0, last + 1);
}

// One pair of matching quotes around a value is not part of it.
std::string WithoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::vector<IniSection> ReadWindowsIni(const std::string& bytes) {
    std::vector<IniSection> sections;
    int line = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(start, end - start);
        ++line;
        std::size_t first = SkipBlanks(text, 0);
        if (first < text.size() && text[first] == '[') {
            std::size_t close = text.find(']', first);
            IniSection section;
            section.name = text.substr(first + 1, (close == std::string::npos ? text.size() : close) - first - 1);
            section.line = line;
            section.offset = start;
            sections.push_back(section);
        } else if (first < text.size() && text[first] != ';' && !sections.empty()) {
            IniEntry entry;
            entry.line = line;
            entry.offset = start;
            std::size_t equals = text.find('=', first);
            entry.hasEquals = equals != std::string::npos;
            if (entry.hasEquals) {
                entry.key = TrimmedEnd(text.substr(first, equals - first));
                std::size_t value = SkipBlanks(text, equals + 1);
                entry.valueColumn = static_cast<int>(value) + 1;
                entry.value = WithoutQuotes(TrimmedEnd(text.substr(value)));
            } else {
                entry.key = TrimmedEnd(text.substr(first));
                entry.valueColumn = static_cast<int>(first) + 1;
            }
            sections.back().entries.push_back(entry);
        }
        start = end + 1;
    }
    return sections;
}
