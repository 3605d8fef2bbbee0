#include "script/upper_case.h"

#include "script/machine.h"
#include "script/text_trim.h"

std::string UpperCase(Machine& machine, const std::string& text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(result[i]);
        if (ch >= 'a' && ch <= 'z') {
            result[i] = static_cast<char>(ch - 'a' + 'A');
        } else if (ch >= 0x80 && i + 1 < result.size()) {
            if (!machine.IsLeadByte(ch)) continue;
            std::string upper = machine.UpperCaseDoubleByte(result.substr(i, 2));
            if (upper.size() == 2) result.replace(i, 2, upper);
            ++i;
        }
    }
    return result;
}

std::string UpperCaseToken(Machine& machine, const std::string& text) {
    return UpperCase(machine, Trimmed(text));
}
