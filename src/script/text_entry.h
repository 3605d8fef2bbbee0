#pragma once
// The values of FONT and TEXT entries.
#include <memory>
#include <string>

#include "script/script_host.h"
#include "script/screen_model.h"

class Machine;

// Longest face name a font can take (the system's limit is 32 with the NUL).
constexpr std::size_t kMaxFaceNameChars = 31;

// The fields of a font specification, in any order: a height, the style
// words BOLD, ITALIC, UNDERLINE and STRIKEOUT, and a face name. Later fields
// override earlier ones.
FontChanges ParseFontSpecification(Machine& machine, const std::string& value);

// The fields of a TEXT value, in their order.
enum TextField {
    kTextText, kTextHighlightColour, kTextNormalColour, kTextHighlightBackground, kTextFont,
    kTextX, kTextY, kTextWidth, kTextHeight,
    kTextFieldCount
};

// A text item from the nine fields of a TEXT entry. Colours that the colour
// table does not hold are made harmless; a size of 0 or less is worked out
// from the text in its font.
std::unique_ptr<TextItem> ParseTextEntry(const std::string& value, const ScreenModel& screen,
                                         ScriptHost& host);
// Works out the size of a text from its lines in its font.
void MeasureTextItem(TextItem* text, ScriptHost& host);

constexpr int kColourCount = 16;
inline bool IsColourIndex(int colour) { return colour >= 0 && colour < kColourCount; }
