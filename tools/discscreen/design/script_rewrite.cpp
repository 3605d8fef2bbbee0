#include "design/script_rewrite.h"

#include <algorithm>

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";

struct Line {
    std::string text;
    std::string end;  // "\r\n", "\n", or "" for a last line without one
};

// Cut as the reader cuts: LF ends a line, and a CR just before it belongs to
// the line end.
std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t feed = bytes.find('\n', start);
        if (feed == std::string::npos) {
            lines.push_back({bytes.substr(start), ""});
            break;
        }
        std::size_t textEnd = (feed > start && bytes[feed - 1] == '\r') ? feed - 1 : feed;
        lines.push_back({bytes.substr(start, textEnd - start), bytes.substr(textEnd, feed + 1 - textEnd)});
        start = feed + 1;
    }
    return lines;
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// A value as runs of commas and the fields between them, so that a field
// can be replaced and everything else joined back byte for byte.
struct FieldList {
    std::string lead;                 // commas before the first field
    std::vector<std::string> fields;
    std::vector<std::string> after;   // the commas after each field

    explicit FieldList(const std::string& value) {
        std::size_t at = 0;
        while (at < value.size() && value[at] == ',') lead += value[at++];
        while (at < value.size()) {
            std::size_t end = value.find(',', at);
            if (end == std::string::npos) end = value.size();
            fields.push_back(value.substr(at, end - at));
            std::size_t next = value.find_first_not_of(',', end);
            if (next == std::string::npos) next = value.size();
            after.push_back(value.substr(end, next - end));
            at = next;
        }
    }

    // An empty field is written blank: two commas in a row would be one.
    void Set(std::size_t number, const std::string& text) {
        const std::string written = text.empty() ? " " : text;
        while (fields.size() < number) {
            if (!after.empty() && after.back().empty()) after.back() = ",";
            fields.push_back(" ");
            after.push_back("");
        }
        fields[number - 1] = written;
    }

    std::string Join() const {
        std::string joined = lead;
        for (std::size_t i = 0; i < fields.size(); ++i) joined += fields[i] + after[i];
        return joined;
    }
};

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

char Upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

// The key as written with only its number changed ("Button 01" to
// "Button 12") when `wanted` is the same name with another number; else
// `wanted` itself. The name is what comes before the number, blanks aside.
std::string RenumberedKey(const std::string& written, const std::string& wanted) {
    const std::size_t digits = written.find_first_of("0123456789");
    const std::size_t newDigits = wanted.find_first_of("0123456789");
    if (digits == std::string::npos || newDigits == std::string::npos) return wanted;
    std::string name;
    for (std::size_t i = 0; i < digits; ++i) {
        if (!IsBlank(written[i])) name += Upper(written[i]);
    }
    if (name != wanted.substr(0, newDigits)) return wanted;
    std::size_t end = digits;
    while (end < written.size() && IsDigit(written[end])) ++end;
    return written.substr(0, digits) + wanted.substr(newDigits) + written.substr(end);
}

bool HasLineBreak(const std::string& text) {
    return text.find('\n') != std::string::npos || text.find('\r') != std::string::npos;
}

bool EditLine(Line& line, int number, const std::map<int, std::string>& edits, std::string* problem) {
    std::size_t equals = line.text.find('=');
    if (equals == std::string::npos) {
        *problem = "line " + std::to_string(number) + " holds no entry";
        return false;
    }
    std::size_t keyStart = 0;
    while (keyStart < equals && IsBlank(line.text[keyStart])) ++keyStart;
    std::size_t keyEnd = equals;
    while (keyEnd > keyStart && IsBlank(line.text[keyEnd - 1])) --keyEnd;
    std::string key = line.text.substr(keyStart, keyEnd - keyStart);
    std::string value = line.text.substr(equals + 1);
    FieldList fields(value);
    bool fieldEdited = false;
    for (const auto& [field, text] : edits) {
        if (HasLineBreak(text)) {
            *problem = "line " + std::to_string(number) + ": a value cannot hold a line break (write \\r\\n)";
            return false;
        }
        if (field == kEntryKey) {
            if (text.empty() || text.find('=') != std::string::npos || text[0] == '[') {
                *problem = "line " + std::to_string(number) + ": '" + text + "' is no entry name";
                return false;
            }
            key = RenumberedKey(key, text);
        } else if (field == kWholeValue) {
            value = text;
        } else if (field > 0) {
            if (text.find(',') != std::string::npos) {
                *problem = "line " + std::to_string(number) + ", field " + std::to_string(field) +
                           ": a field cannot hold a comma ('" + text + "')";
                return false;
            }
            fields.Set(static_cast<std::size_t>(field), text);
            fieldEdited = true;
        } else {
            *problem = "line " + std::to_string(number) + ": no field " + std::to_string(field);
            return false;
        }
    }
    if (fieldEdited) {
        if (edits.count(kWholeValue)) {
            *problem = "line " + std::to_string(number) + ": the value and its fields both edited";
            return false;
        }
        value = fields.Join();
    }
    line.text = line.text.substr(0, keyStart) + key + line.text.substr(keyEnd, equals - keyEnd) + "=" + value;
    return true;
}

std::string UsualLineEnd(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (!line.end.empty()) return line.end;
    }
    return "\r\n";
}

}  // namespace

std::vector<std::string> ScriptLineTexts(const std::string& bytes) {
    bool marked = bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
    std::vector<std::string> texts;
    for (Line& line : SplitLines(marked ? bytes.substr(kUtf8Mark.size()) : bytes)) texts.push_back(line.text);
    return texts;
}

std::vector<std::string> EntryFields(const std::string& line) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) return {};
    return FieldList(line.substr(equals + 1)).fields;
}

bool RewriteScript(const std::string& bytes, const ScriptEdits& edits, std::string* result,
                   std::string* problem, std::vector<int>* origins) {
    bool marked = bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
    std::vector<Line> lines = SplitLines(marked ? bytes.substr(kUtf8Mark.size()) : bytes);
    const int count = static_cast<int>(lines.size());
    auto outside = [&](int number) {
        if (number >= 1 && number <= count) return false;
        *problem = "there is no line " + std::to_string(number);
        return true;
    };

    for (const auto& [number, fieldEdits] : edits.fields) {
        if (outside(number)) return false;
        if (!EditLine(lines[number - 1], number, fieldEdits, problem)) return false;
    }
    for (int number : edits.deletedLines) {
        if (outside(number)) return false;
    }
    const std::string lineEnd = UsualLineEnd(lines);
    // after line (0: before the first) -> the new lines, where each comes
    // from, and the new entry each belongs to
    // A deleted new entry keeps its place as a mark, for those placed
    // before it.
    struct NewLine {
        std::string text;
        int origin;
        std::size_t owner;
        bool mark = false;
    };
    std::map<int, std::vector<NewLine>> insertions;
    std::map<std::size_t, int> placeOf;  // new entry -> its key in insertions
    for (std::size_t i = 0; i < edits.added.size(); ++i) {
        const NewEntry& entry = edits.added[i];
        if (entry.afterLine != 0 && outside(entry.afterLine)) return false;
        if (HasLineBreak(entry.text) || HasLineBreak(entry.header)) {
            *problem = "a new entry cannot hold a line break";
            return false;
        }
        if (entry.text.empty() && entry.header.empty() && !entry.deleted) {
            *problem = "a new entry holds nothing";
            return false;
        }
        Line line{entry.text, ""};
        if (!entry.deleted && !entry.fields.empty() && !EditLine(line, 0, entry.fields, problem)) return false;
        const int origin = -static_cast<int>(i) - 1;
        std::vector<NewLine> made;
        if (entry.deleted) {
            made.push_back({"", 0, i, true});
        } else {
            if (!entry.header.empty()) made.push_back({entry.header, entry.text.empty() ? origin : 0, i});
            if (!entry.text.empty()) made.push_back({line.text, origin, i});
        }
        int at = entry.atStart ? 0 : entry.afterLine == 0 ? count : entry.afterLine;
        std::size_t ahead = i;  // the new entry this one goes before; i for none
        if (entry.before >= 0) {
            auto found = placeOf.find(static_cast<std::size_t>(entry.before));
            if (found == placeOf.end()) {
                *problem = "a new entry placed before one that is not there";
                return false;
            }
            at = found->second;
            ahead = found->first;
        }
        std::vector<NewLine>& group = insertions[at];
        auto place = std::find_if(group.begin(), group.end(),
                                  [&](const NewLine& other) { return other.owner == ahead; });
        group.insert(place, made.begin(), made.end());
        placeOf[i] = at;
    }
    if (origins) origins->clear();

    std::string out = marked ? kUtf8Mark : "";
    bool lineOpen = false;  // the last line written has no line end
    auto insertAfter = [&](int number) {
        auto found = insertions.find(number);
        if (found == insertions.end()) return;
        bool writes = std::any_of(found->second.begin(), found->second.end(),
                                  [](const NewLine& made) { return !made.mark; });
        if (!writes) return;
        if (lineOpen) out += lineEnd;
        lineOpen = false;
        for (const NewLine& made : found->second) {
            if (made.mark) continue;
            out += made.text + lineEnd;
            if (origins) origins->push_back(made.origin);
        }
    };
    insertAfter(0);
    for (int number = 1; number <= count; ++number) {
        const Line& line = lines[number - 1];
        if (!edits.deletedLines.count(number)) {
            out += line.text + line.end;
            lineOpen = line.end.empty();
            if (origins) origins->push_back(number);
        }
        insertAfter(number);
    }
    *result = out;
    return true;
}
