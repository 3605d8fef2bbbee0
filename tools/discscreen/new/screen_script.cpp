#include "new/screen_script.h"

#include <sstream>

namespace {

constexpr char kEnd[] = "\r\n";

std::string Field(int value) { return std::to_string(value); }

// A comma would end the field: a text never holds one.
std::string Field(std::string text) {
    for (char& ch : text) {
        if (ch == ',') ch = ';';
    }
    return text;
}

const char* KindWord(ScreenButtonKind kind) {
    switch (kind) {
        case ScreenButtonKind::kPush: return "PUSHBUTTON";
        case ScreenButtonKind::kExit: return "EXITBUTTON";
        case ScreenButtonKind::kInstall: return "OKBUTTON";
        case ScreenButtonKind::kCheckBox: return "CHECKBOX";
    }
    return "PUSHBUTTON";
}

// Documents keep the screen in view; an installer hides it until done,
// and each checked box waits for its installer before the next one.
const char* StateAndOption(const PlacedButton& button) {
    if (button.kind == ScreenButtonKind::kCheckBox) return "CHECK,YES";
    if (button.keepsScreen) return "NORMAL,SHOW";
    return "NORMAL,NO";
}

const std::string& StripOf(const PlacedButton& button, const ScriptPictures& pictures) {
    switch (button.kind) {
        case ScreenButtonKind::kPush: return pictures.push;
        case ScreenButtonKind::kExit: return pictures.exit;
        case ScreenButtonKind::kInstall: return pictures.install;
        case ScreenButtonKind::kCheckBox: return pictures.check;
    }
    return pictures.push;
}

}  // namespace

std::string ScreenScriptText(const ScreenLayout& layout, const std::string& title, const ScreenStyle& style,
                             const ScriptPictures& pictures) {
    std::ostringstream out;
    const int count = static_cast<int>(layout.buttons.size());
    out << "[BEGIN]" << kEnd << "TITLE=" << title << kEnd << "INTROBITMAP=" << pictures.background << kEnd
        << "FONT1=Arial," << kCaptionFontHeight << ",BOLD" << kEnd << "FONT2=Arial," << kHelpFontHeight << kEnd;

    // Texts 1 to n are the captions, n + 1 to 2n the help texts.
    out << "[TEXT]" << kEnd;
    for (int i = 0; i < count; ++i) {
        const PlacedButton& button = layout.buttons[i];
        const Rectangle& c = button.caption;
        out << "TEXT" << i + 1 << "=" << Field(button.captionText) << "," << style.captionHighlight << ","
            << style.captionNormal << ", ,1," << Field(c.x) << "," << Field(c.y) << "," << Field(c.width) << ","
            << Field(c.height) << kEnd;
    }
    for (int i = 0; i < count; ++i) {
        const Rectangle& h = layout.help;
        out << "TEXT" << count + i + 1 << "=" << Field(layout.buttons[i].helpText) << "," << style.helpColour
            << ",HELP, ,2," << h.x << "," << h.y << "," << h.width << "," << h.height << kEnd;
    }

    out << "[BUTTON]" << kEnd;
    for (int i = 0; i < count; ++i) {
        const PlacedButton& button = layout.buttons[i];
        out << "BUTTON" << i + 1 << "=" << KindWord(button.kind) << "," << button.picture.x << ","
            << button.picture.y << ",0,0," << StateAndOption(button) << "," << StripOf(button, pictures) << ","
            << i + 1 << ",MERGE" << (button.command.empty() ? "" : ", , " + button.command) << kEnd;
    }
    out << "[EXTRATEXT]" << kEnd;
    for (int i = 0; i < count; ++i) out << "BUTTON" << i + 1 << "=" << count + i + 1 << kEnd;
    out << "[INSTALLMESSAGE]" << kEnd;
    for (int i = 0; i < count; ++i) {
        if (!layout.buttons[i].installMessage.empty())
            out << "BUTTON" << i + 1 << "=" << layout.buttons[i].installMessage << kEnd;
    }
    out << "[MESSAGE]" << kEnd;
    for (int i = 0; i < count; ++i) {
        if (!layout.buttons[i].failureMessage.empty())
            out << "BUTTON" << i + 1 << "=" << layout.buttons[i].failureMessage << kEnd;
    }
    out << "[END]" << kEnd;
    return out.str();
}
