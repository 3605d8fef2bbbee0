#include "script/numbers.h"

#include <climits>
#include <cstring>

#include "script/text_trim.h"

namespace {

struct Keyword {
    const char* word;
    unsigned char length;
    signed char value;
    unsigned char fields;  // KeywordFields that take the word
};

#define KEYWORD(word, value, fields) {word, sizeof word - 1, value, fields}
constexpr Keyword kKeywords[] = {
    KEYWORD("", 0, 0),
    KEYWORD("NO", 0, kButtonOptionField | kWaitOptionField | kYesNoField),
    KEYWORD("YES", 1, kButtonOptionField | kWaitOptionField | kYesNoField),
    KEYWORD("SHOW", 2, kButtonOptionField),
    KEYWORD("PUSHBUTTON", 0, kButtonKindField),
    KEYWORD("EXITBUTTON", 1, kButtonKindField),
    KEYWORD("OKBUTTON", 2, kButtonKindField),
    KEYWORD("CHECKBOX", 3, kButtonKindField),
    KEYWORD("NORMAL", 0, kButtonStateField),
    KEYWORD("FOCUS", 1, kButtonStateField),
    KEYWORD("DISABLE", 2, kButtonStateField),
    KEYWORD("UNCHECK", 0, kButtonStateField),
    KEYWORD("CHECK", 1, kButtonStateField),
    KEYWORD("HIDE", -1, kButtonStateField | kNormalColourField),
    KEYWORD("HELP", -2, kButtonStateField | kNormalColourField),
};
#undef KEYWORD
constexpr int kKeywordCount = sizeof kKeywords / sizeof kKeywords[0];
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

const char* KeywordAt(int index, int* value, unsigned* fields) {
    // Index 0 of the table is the empty word, which is no keyword.
    if (index < 0 || index + 1 >= kKeywordCount) return nullptr;
    const Keyword& keyword = kKeywords[index + 1];
    *value = keyword.value;
    *fields = keyword.fields;
    return keyword.word;
}

std::string DecimalText(int value) {
    char digits[12];
    char* start = digits + sizeof digits;
    // Unsigned, so that the most negative int has its digits too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--start = '-';
    return std::string(start, digits + sizeof digits);
}
