#include "script/text_entry.h"

#include <climits>
#include <vector>

#include "script/field_list.h"
#include "script/line_breaks.h"
#include "script/machine.h"
#include "script/numbers.h"
#include "script/screen_scale.h"
#include "script/text_trim.h"
#include "script/upper_case.h"

namespace {

bool StartsWithDigit(const std::string& field) {
    std::string trimmed = Trimmed(field);
    return !trimmed.empty() && trimmed[0] >= '0' && trimmed[0] <= '9';
}

// At most kMaxFaceNameChars bytes, never ending inside a double-byte character.
std::string CutFaceName(Machine& machine, const std::string& name) {
    std::size_t keep = 0;
    while (keep < name.size()) {
        std::size_t step = 1;
        if (keep + 1 < name.size() && machine.IsLeadByte(static_cast<unsigned char>(name[keep])))
            step = 2;
        if (keep + step > kMaxFaceNameChars) break;
        keep += step;
    }
    return name.substr(0, keep);
}

int SaturatedInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

FontChanges ParseFontSpecification(Machine& machine, const std::string& value) {
    FontChanges changes;
    for (const std::string& field : SplitFields(value)) {
        std::string word = UpperCaseToken(machine, field);
        // A blank field names nothing; taken as a face name it would throw
        // away the face given before it.
        if (word.empty()) continue;
        if (StartsWithDigit(field)) {
            changes.height = ParseInteger(field);
            changes.hasHeight = true;
        } else if (word == "BOLD") {
            changes.bold = true;
        } else if (word == "ITALIC") {
            changes.italic = true;
        } else if (word == "UNDERLINE") {
            changes.underline = true;
        } else if (word == "STRIKEOUT") {
            changes.strikeOut = true;
        } else {
            changes.faceName = CutFaceName(machine, field);
            changes.hasFaceName = true;
        }
    }
    return changes;
}

std::unique_ptr<TextItem> ParseTextEntry(const std::string& value, const ScreenModel& screen,
                                         ScriptHost& host) {
    std::unique_ptr<TextItem> text(new TextItem());
    const FieldList<kTextFieldCount> fields(value);
    const auto& f = fields.field;
    auto given = [&](std::size_t i) { return fields.Has(i) && !Trimmed(f[i]).empty(); };

    if (fields.Has(kTextText))
        text->text = DecodeLineBreaks(f[kTextText], &text->longestLine, &text->lineCount);
    if (fields.Has(kTextHighlightColour)) text->highlightColour = ParseInteger(f[kTextHighlightColour]);
    if (given(kTextNormalColour)) text->normalColour = ParseNumberOrKeyword(f[kTextNormalColour]);
    if (given(kTextHighlightBackground))
        text->highlightBackground = ParseInteger(f[kTextHighlightBackground]);
    if (fields.Has(kTextFont)) text->font = screen.Font(ParseNumberOrKeyword(f[kTextFont]));
    if (!text->font) text->font = screen.plainFont;
    // A measured size comes from the font, which is made at the screen's
    // scale already.
    const int s = screen.scale.factor;
    if (given(kTextX)) text->x = ParseScaledInteger(f[kTextX], s);
    if (given(kTextY)) text->y = ParseScaledInteger(f[kTextY], s);
    if (fields.Has(kTextWidth)) text->width = ParseScaledInteger(f[kTextWidth], s);
    if (fields.Has(kTextHeight)) text->height = ParseScaledInteger(f[kTextHeight], s);

    // Only the table's sixteen colours can be drawn. An unknown highlight
    // colour falls back to its default; an unknown normal colour or
    // background means none, as a blank field would.
    if (!IsColourIndex(text->highlightColour)) text->highlightColour = 0;
    if (!IsColourIndex(text->normalColour) && text->normalColour != kColourHelp)
        text->normalColour = kColourNone;
    if (!IsColourIndex(text->highlightBackground)) text->highlightBackground = kColourNone;

    text->measured = text->width <= 0 || text->height <= 0;
    if (text->measured) MeasureTextItem(text.get(), host);
    return text;
}

void MeasureTextItem(TextItem* text, ScriptHost& host) {
    TextExtent extent = host.MeasureText(text->font, text->text);
    const long long length = static_cast<long long>(text->text.size());
    const long long longest = text->longestLine;
    text->width = length == 0 ? 0 : SaturatedInt(extent.width * longest / length);
    text->height = SaturatedInt(static_cast<long long>(extent.height) * text->lineCount);
}
