#include "script/values.h"

#include <climits>
#include <cstring>

#include "script/machine.h"

bool IsWhiteChar(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

bool IsTrimChar(char ch) { return IsWhiteChar(ch) || ch == '\v' || ch == '\f'; }

std::string UpperCase(const std::string& text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(result[i]);
        if (ch >= 'a' && ch <= 'z') {
            result[i] = static_cast<char>(ch - 'a' + 'A');
        } else if (ch >= 0x80 && i + 1 < result.size()) {
            Machine& machine = TheMachine();
            if (!machine.IsLeadByte(ch)) continue;
            std::string upper = machine.UpperCaseDoubleByte(result.substr(i, 2));
            if (upper.size() == 2) result.replace(i, 2, upper);
            ++i;
        }
    }
    return result;
}

std::string NormalizeToken(const std::string& text, bool upper) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimChar(text[begin])) ++begin;
    // The white set is plain ASCII, which never occurs as a trail byte of a
    // double-byte character of the Far-East code pages, so cutting from the
    // end cannot split a character.
    while (end > begin && IsTrimChar(text[end - 1])) --end;
    std::string trimmed = text.substr(begin, end - begin);
    return upper ? UpperCase(trimmed) : trimmed;
}

namespace {

struct Keyword {
    const char* word;
    std::size_t length;
    int value;
};

#define KEYWORD(word, value) {word, sizeof word - 1, value}
constexpr Keyword kKeywords[] = {
    KEYWORD("", 0),           KEYWORD("NO", 0),         KEYWORD("YES", 1),
    KEYWORD("SHOW", 2),       KEYWORD("PUSHBUTTON", 0), KEYWORD("EXITBUTTON", 1),
    KEYWORD("OKBUTTON", 2),   KEYWORD("CHECKBOX", 3),   KEYWORD("NORMAL", 0),
    KEYWORD("FOCUS", 1),      KEYWORD("DISABLE", 2),    KEYWORD("UNCHECK", 0),
    KEYWORD("CHECK", 1),      KEYWORD("HIDE", -1),      KEYWORD("HELP", -2),
};
#undef KEYWORD
constexpr std::size_t kLongestKeyword = 10;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Digits from `pos` on, with an optional leading "-"; saturates at the int range.
int ReadDecimal(const std::string& text, std::size_t pos) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

int ParseNumberOrKeyword(const std::string& text, std::size_t* numberPos) {
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (!IsDigit(text[p])) continue;
        std::size_t start = (p > 0 && text[p - 1] == '-') ? p - 1 : p;
        if (numberPos) *numberPos = start;
        return ReadDecimal(text, start);
    }
    // The keywords are plain ASCII, and upper-casing never turns a byte of a
    // double-byte character into one, so the trimmed text can be compared
    // letter by letter without building its upper-cased copy.
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimChar(text[begin])) ++begin;
    while (end > begin && IsTrimChar(text[end - 1])) --end;
    char word[kLongestKeyword];
    const std::size_t length = end - begin;
    if (length > sizeof word) return 0;
    for (std::size_t i = 0; i < length; ++i) {
        char ch = text[begin + i];
        word[i] = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    }
    for (const Keyword& keyword : kKeywords) {
        if (keyword.length == length && std::memcmp(keyword.word, word, length) == 0)
            return keyword.value;
    }
    return 0;
}

int ParseInteger(const std::string& field) {
    std::size_t pos = 0;
    while (pos < field.size() && IsTrimChar(field[pos])) ++pos;
    return ReadDecimal(field, pos);
}

std::string DecodeLineBreaks(const std::string& text, int* longestLine, int* lineCount) {
    std::string result;
    result.reserve(text.size());
    int breaks = 0;
    int longest = 0;
    int current = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t escape = text.find("\\r\\n", i);
        std::size_t stop = escape == std::string::npos ? text.size() : escape;
        result.append(text, i, stop - i);
        std::size_t run = stop - i;
        current = run > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(run);
        if (current > longest) longest = current;
        if (escape == std::string::npos) break;
        result += "\r\n";
        ++breaks;
        current = 0;
        i = escape + 4;
    }
    if (longestLine) *longestLine = longest;
    if (lineCount) *lineCount = breaks + (current > 0 ? 1 : 0);
    return result;
}

std::string EncodeLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            result += "\\r\\n";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

const char* SkipLeadingBlanks(const char* text) {
    if (!text) return nullptr;
    while (*text && IsWhiteChar(*text)) ++text;
    return text;
}

char* CutTrailingBlanks(char* text) {
    if (!text) return nullptr;
    std::size_t length = std::strlen(text);
    while (length > 0 && IsWhiteChar(text[length - 1])) text[--length] = '\0';
    return text;
}

const char* FindExtension(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot ? dot : path + std::strlen(path);
}

std::vector<std::string> SplitFields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(separator, pos);
        if (end == std::string::npos) end = text.size();
        if (end > pos) fields.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}
