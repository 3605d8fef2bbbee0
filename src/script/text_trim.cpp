#include "script/text_trim.h"

#include <cstring>

bool IsWhiteChar(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

bool IsTrimChar(char ch) { return IsWhiteChar(ch) || ch == '\v' || ch == '\f'; }

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimChar(text[begin])) ++begin;
    // The white set is plain ASCII, which never occurs as a trail byte of a
    // double-byte character of the Far-East code pages, so cutting from the
    // end cannot split a character.
    while (end > begin && IsTrimChar(text[end - 1])) --end;
    return text.substr(begin, end - begin);
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
