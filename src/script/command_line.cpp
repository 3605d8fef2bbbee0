#include "script/command_line.h"

#include <vector>

#include "script/field_list.h"
#include "script/numbers.h"

std::string BuildCommandLine(const ScreenItem& item, const ScreenModel& screen) {
    std::string result = item.command;
    std::string seen;
    std::vector<std::string> fields = SplitFields(item.referenceList);
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const ScreenItem* referenced = screen.Button(ParseInteger(fields[i]));
        if (!referenced || referenced->kind != ButtonKind::kCheckBox) continue;
        if (referenced->state.load() != kChecked) continue;
        const std::string word = i + 1 < fields.size() ? fields[i + 1] : std::string();
        // An empty word is always found, so it is never appended.
        if (seen.find(word) != std::string::npos) continue;
        result += ' ';
        result += word;
        seen += ' ';
        seen += word;
    }
    return result;
}
