#include "script/machine.h"

std::string KeepAsciiOnly(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t unit : text) result += unit < 0x80 ? static_cast<char>(unit) : '?';
    return result;
}
