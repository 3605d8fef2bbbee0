#include "script/line_breaks.h"

#include <climits>

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
