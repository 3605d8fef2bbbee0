#include "check/autorun_section.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace {

const char kMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kMarkBytes = 3;

std::string Trimmed(const std::string& line) {
    std::size_t first = line.find_first_not_of(" \t\r\x1a");
    if (first == std::string::npos) return "";
    std::size_t last = line.find_last_not_of(" \t\r\x1a");
    return line.substr(first, last - first + 1);
}

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

bool IsAutorunHeader(const std::string& text) { return Upper(text.substr(0, 9)) == "[AUTORUN]"; }

// The text of a line after its blanks and any marks before them.
std::string WithoutMarks(std::string text) {
    while (text.compare(0, kMarkBytes, kMark) == 0) text = Trimmed(text.substr(kMarkBytes));
    return text;
}

// The lines of the [autorun] section, each trimmed.
std::vector<std::string> AutorunLines(const std::string& script) {
    std::vector<std::string> lines;
    std::istringstream in(script);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        std::string text = WithoutMarks(Trimmed(line));
        if (!text.empty() && text[0] == '[') {
            inside = IsAutorunHeader(text);
        } else if (inside) {
            lines.push_back(text);
        }
    }
    return lines;
}

}  // namespace

bool HasAutorunSection(const std::string& script) {
    std::istringstream in(script);
    std::string line;
    while (std::getline(in, line)) {
        if (IsAutorunHeader(Trimmed(line))) return true;
    }
    return false;
}

std::size_t MarkBeforeAutorun(const std::string& script) {
    for (std::size_t start = 0; start < script.size();) {
        std::size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        std::string text = Trimmed(script.substr(start, end - start));
        if (text.compare(0, kMarkBytes, kMark) == 0 && IsAutorunHeader(WithoutMarks(text)))
            return script.find(kMark, start);
        start = end + 1;
    }
    return std::string::npos;
}

std::string WithAutorunSection(const std::string& script, const std::string& program) {
    std::size_t mark = MarkBeforeAutorun(script);
    if (mark != std::string::npos) {
        // The marks stay where they are, on a line of their own.
        std::size_t header = script.find('[', mark);
        return script.substr(0, header) + "\r\n" + script.substr(header);
    }
    if (HasAutorunSection(script)) return script;
    std::string section = "[autorun]\r\nopen=" + program + "\r\nicon=" + program + ",0\r\n\r\n";
    if (script.compare(0, kMarkBytes, kMark) == 0)
        return std::string(kMark) + "\r\n" + section + script.substr(kMarkBytes);
    return section + script;
}

std::string AutorunOpenFile(const std::string& script) {
    for (const std::string& line : AutorunLines(script)) {
        std::size_t equals = line.find('=');
        if (equals == std::string::npos || Upper(Trimmed(line.substr(0, equals))) != "OPEN") continue;
        std::string value = Trimmed(line.substr(equals + 1));
        return value.substr(0, value.find_first_of(" \t"));
    }
    return "";
}
