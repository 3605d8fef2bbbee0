#include "script/button_entry.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "script/field_list.h"
#include "script/numbers.h"
#include "script/screen_scale.h"
#include "script/text_trim.h"

namespace {

// Coordinates come from the script and may be anything an int holds; the
// sums below are done wide and saturated so that no entry can overflow them.
int Saturate(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void ClearEntryFields(ScreenItem& item) {
    item.x = item.y = item.width = item.height = 0;
    item.windowX = item.windowY = item.windowWidth = item.windowHeight = 0;
    item.kind = ButtonKind::kPush;
    item.option = 0;
    item.state.store(kStateNormal);
    if (item.caption) {
        item.caption->x = item.captionOwnX;
        item.caption->y = item.captionOwnY;
    }
    item.caption = nullptr;
    item.captionOwnX = item.captionOwnY = -1;
    item.picture = nullptr;
    item.hoverSound.clear();
    item.command.clear();
}

enum Placement { kPlaceRight, kPlaceLeft, kPlaceMerge };

// The trimmed field equals the ASCII word, whatever the letters' case.
bool IsWord(const std::string& field, std::size_t begin, std::size_t end, const char* word) {
    std::size_t length = std::strlen(word);
    if (end - begin != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        char ch = field[begin + i];
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (ch != word[i]) return false;
    }
    return true;
}

Placement ReadPlacement(const std::string& field) {
    std::size_t begin = 0;
    std::size_t end = field.size();
    while (begin < end && IsTrimChar(field[begin])) ++begin;
    while (end > begin && IsTrimChar(field[end - 1])) --end;
    if (begin == end) return kPlaceRight;
    if (IsWord(field, begin, end, "MERGE")) return kPlaceMerge;
    if (IsWord(field, begin, end, "LEFT")) return kPlaceLeft;
    int number = ParseInteger(field);
    if (number == 2) return kPlaceMerge;
    if (number == 1) return kPlaceLeft;
    return kPlaceRight;
}

}  // namespace

void PlaceCaption(ScreenItem& item, TextItem& caption, const std::string& placement) {
    const long long bx = item.x, by = item.y, bw = item.width, bh = item.height;
    Placement where = ReadPlacement(placement);
    if (where == kPlaceMerge) {
        if (caption.x < 0) caption.x = item.x;
        if (caption.y < 0) caption.y = item.y;
        const long long tx = caption.x, ty = caption.y;
        long long left = std::min(bx, tx);
        long long top = std::min(by, ty);
        item.windowX = Saturate(left);
        item.windowY = Saturate(top);
        item.windowWidth = Saturate(std::max(bx + bw, tx + caption.width) - left);
        item.windowHeight = Saturate(std::max(by + bh, ty + caption.height) - top);
        return;
    }
    if (caption.x >= 0 || caption.y >= 0) return;  // the caption has its own place

    const long long half = bh / 2;
    const long long tw = caption.width, th = caption.height;
    caption.y = Saturate(by + half - th / 2);
    if (where == kPlaceLeft) {
        caption.x = Saturate(bx - tw - half);
        item.windowX = caption.x;
    } else {
        caption.x = Saturate(bx + bw + half);
        item.windowX = item.x;
    }
    item.windowWidth = Saturate(bw + half + tw);
    item.windowHeight = Saturate(std::max(bh, th));
    item.windowY = Saturate(std::min(by, static_cast<long long>(caption.y)));
}

void ParseButtonForm(ScreenItem& item, const std::string& value, const ScreenModel& screen,
                     ScriptHost& host) {
    ClearEntryFields(item);
    const FieldList<kButtonFieldCount> fields(value);
    const auto& f = fields.field;

    if (fields.Has(kButtonKind))
        item.kind = static_cast<ButtonKind>(ParseNumberOrKeyword(f[kButtonKind]));
    // The picture comes at the screen's scale already (and so its frames).
    const int s = screen.scale.factor;
    if (fields.Has(kButtonX)) item.x = item.windowX = ParseScaledInteger(f[kButtonX], s);
    if (fields.Has(kButtonY)) item.y = item.windowY = ParseScaledInteger(f[kButtonY], s);
    if (fields.Has(kButtonWidth))
        item.width = item.windowWidth = ParseScaledInteger(f[kButtonWidth], s);
    if (fields.Has(kButtonHeight))
        item.height = item.windowHeight = ParseScaledInteger(f[kButtonHeight], s);
    if (fields.Has(kButtonState)) item.state.store(ParseNumberOrKeyword(f[kButtonState]));
    if (fields.Has(kButtonOption)) item.option = ParseNumberOrKeyword(f[kButtonOption]);
    if (fields.Has(kButtonPicture)) {
        // The cache trims, upper-cases and resolves the name itself.
        int frameWidth = item.width;
        int frameHeight = item.height;
        item.picture = host.GetButtonBitmap(f[kButtonPicture], &frameWidth, &frameHeight);
        if (item.picture) {
            item.width = frameWidth;
            item.height = frameHeight;
            item.windowWidth = std::max(item.windowWidth, item.width);
            item.windowHeight = std::max(item.windowHeight, item.height);
        }
    }
    if (fields.Has(kButtonCaption)) item.caption = screen.Text(ParseNumberOrKeyword(f[kButtonCaption]));
    if (fields.Has(kButtonHoverSound)) item.hoverSound = Trimmed(f[kButtonHoverSound]);
    if (fields.Has(kButtonCommand)) item.command = Trimmed(f[kButtonCommand]);

    if (item.caption) {
        item.captionOwnX = item.caption->x;
        item.captionOwnY = item.caption->y;
        PlaceCaption(item, *item.caption, fields.Has(kButtonPlacement) ? f[kButtonPlacement] : std::string());
    }
}

void ParseContinuationForm(ScreenItem& item, const std::string& value) {
    ClearEntryFields(item);
    std::vector<std::string> fields = SplitFields(value);
    if (!fields.empty()) item.command = Trimmed(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) item.option = ParseNumberOrKeyword(fields[i]);
    item.kind = ButtonKind::kCheckBox;
    item.state.store(kChecked);
}

void SetRestartPolicy(ScreenModel& screen, const std::string& list, int policy) {
    for (const std::string& token : SplitFields(list)) {
        int slot = ParseNumberOrKeyword(token);
        if (!IsSlot(slot)) continue;
        if (!screen.buttons[slot]) screen.buttons[slot].reset(new ScreenItem());
        screen.buttons[slot]->restartPolicy = policy;
    }
}

std::vector<std::string> ParseIgnoreList(const std::string& value) {
    std::vector<std::string> names;
    const char* rest = SkipLeadingBlanks(value.c_str());
    std::string copy(rest, value.c_str() + value.size() - rest);
    std::size_t pos = 0;
    while (pos <= copy.size()) {
        std::size_t end = copy.find(',', pos);
        if (end == std::string::npos) end = copy.size();
        std::string piece = copy.substr(pos, end - pos);
        const char* start = SkipLeadingBlanks(piece.c_str());
        std::size_t length = std::strlen(start);
        while (length > 0 && IsWhiteChar(start[length - 1])) --length;
        if (length > 0) names.emplace_back(start, length);
        pos = end + 1;
    }
    return names;
}
