#include "check/autorun_section.h"

#include "check/autorun_facts.h"

#include <cctype>
#include <sstream>

namespace {

const char kMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kMarkBytes = 3;
// No Windows limits action=; the AutoPlay dialog shows about one line.
constexpr std::size_t kLongestAction = 64;
// U+00C0 to U+00FF as ASCII: each letter without its accent, others as "".
const char* const kLatinLetters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y"};

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

std::string WithAutorunSection(const std::string& script, const std::string& section) {
    std::size_t mark = MarkBeforeAutorun(script);
    if (mark != std::string::npos) {
        // The marks stay where they are, on a line of their own.
        std::size_t header = script.find('[', mark);
        return script.substr(0, header) + "\r\n" + script.substr(header);
    }
    if (HasAutorunSection(script)) return script;
    if (script.compare(0, kMarkBytes, kMark) == 0)
        return std::string(kMark) + "\r\n" + section + script.substr(kMarkBytes);
    return section + script;
}

std::string WriteAutorunSection(const std::string& title, const std::string& label, const std::string& iconName,
                                const std::string& program) {
    std::string shownLabel = AutorunText(label.empty() ? title : label, kLabelShownCharacters);
    std::string action = AutorunText(title, kLongestAction);
    std::string section = "[autorun]\r\nopen=" + program + "\r\n";
    if (!iconName.empty()) section += "icon=" + iconName + "\r\n";
    if (!shownLabel.empty()) section += "label=" + shownLabel + "\r\n";
    if (!action.empty()) section += "action=" + action + "\r\n";
    return section + "\r\n";
}

std::string AutorunText(const std::string& text, std::size_t longest) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        std::string piece;
        if (byte >= 0x20 && byte < 0x7F) {
            piece = std::string(1, static_cast<char>(byte));
        } else if (byte < 0x20) {
            piece = " ";
        } else if (byte >= 0xC0 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            // UTF-8: U+00C0 to U+00FF (after C3) are the Western code pages' letters.
            if (byte == 0xC3) piece = kLatinLetters[static_cast<unsigned char>(text[i + 1]) - 0x80];
            while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) ++i;
        } else if (byte >= 0xC0) {
            piece = kLatinLetters[byte - 0xC0];  // a Western code page's letter
        }
        if (piece == " " && (shown.empty() || shown.back() == ' ')) continue;
        shown += piece;
    }
    if (shown.size() > longest) shown.resize(longest);
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown;
}
