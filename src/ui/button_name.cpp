#include "ui/button_name.h"

#include "script/screen_model.h"

std::string SpokenButtonName(const ScreenItem& item) {
    const TextItem* text = item.caption;
    if (!text || text->text.empty()) text = item.extraText;
    std::string name;
    if (!text) return name;
    const std::string& shown = text->text;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        char c = shown[i];
        // CR LF makes one blank.
        if (c == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') continue;
        if (c == '\r' || c == '\n') c = ' ';
        if (c == '&') name += '&';
        name += c;
    }
    return name;
}
