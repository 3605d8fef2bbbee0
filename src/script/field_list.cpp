#include "script/field_list.h"

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
