#include "new/screen_layout.h"

#include "new/item_names.h"

namespace {

constexpr int kMargin = 40;
constexpr int kItemsTop = 116;
constexpr int kRowHeight = 40;
constexpr int kRowsPerColumn = 6;
constexpr int kCaptionGap = 12;
constexpr int kCaptionHeight = 22;
constexpr int kBottomRowY = 420;
constexpr int kScreenWidth = 640;
// The screen's frame hides a few pixels at the right and the bottom.
constexpr int kRightEdge = kScreenWidth - kMargin;

// Code page 1252 back to UTF-8, for measuring.
std::string Utf8(const std::string& text) {
    std::string out;
    for (unsigned char ch : text) {
        if (ch < 0x80) {
            out += static_cast<char>(ch);
        } else {
            out += static_cast<char>(0xC0 | ch >> 6);
            out += static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return out;
}

// The text, shortened with "..." until it fits `lines` lines of `width`.
std::string Fitted(std::string text, int width, int height, int lines = 1) {
    auto fits = [&](const std::string& candidate) {
        return TextWidthAtMost(Utf8(candidate), height) <= width * lines - (lines > 1 ? width / 4 : 0);
    };
    if (fits(text)) return text;
    while (text.size() > 1 && !fits(text + "...")) text.pop_back();
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text + "...";
}

PlacedButton Placed(ScreenButtonKind kind, int x, int y, int captionWidth, const std::string& caption) {
    PlacedButton button;
    button.kind = kind;
    const int frame = kind == ScreenButtonKind::kCheckBox ? kCheckFrame : kButtonFrame;
    const int inset = (kButtonFrame - frame) / 2;
    button.picture = {x + inset, y + inset, frame, frame};
    // A name too long for one line takes two, within its row.
    const bool oneLine = Fitted(caption, captionWidth, kCaptionFontHeight) == caption;
    const int height = oneLine ? kCaptionHeight : kRowHeight;
    button.caption = {x + kButtonFrame + kCaptionGap, y + (kButtonFrame - height) / 2, captionWidth, height};
    button.captionText = oneLine ? caption : Fitted(caption, captionWidth, kCaptionFontHeight, 2);
    return button;
}

}  // namespace

ScreenLayout LayOutScreen(const std::vector<DiscItem>& items, const std::string& title) {
    ScreenLayout layout;
    layout.background.title = title;
    std::vector<DiscItem> shown(items.begin(), items.begin() + std::min(items.size(), kMostItems));
    if (items.size() > kMostItems) layout.leftOut.assign(items.begin() + kMostItems, items.end());

    int installers = 0;
    for (const DiscItem& item : shown) installers += item.kind == ItemKind::kInstaller;
    const bool chained = installers >= 2;
    const int columns = shown.size() > kRowsPerColumn ? 2 : 1;
    const int columnWidth = (kRightEdge - kMargin) / columns;
    const int captionWidth = columnWidth - kButtonFrame - kCaptionGap - (columns > 1 ? 16 : 0);
    // The columns filled evenly, the first one the longer.
    const std::size_t rows = std::max<std::size_t>(1, (shown.size() + columns - 1) / columns);
    layout.help = {kMargin + 8, kItemsTop + static_cast<int>(rows) * kRowHeight + 14, kRightEdge - kMargin - 16, 36};
    layout.background.helpX = layout.help.x;
    layout.background.helpY = layout.help.y;
    layout.background.helpWidth = layout.help.width;
    layout.background.helpHeight = layout.help.height;

    for (std::size_t i = 0; i < shown.size(); ++i) {
        const DiscItem& item = shown[i];
        const int x = kMargin + static_cast<int>(i / rows) * columnWidth;
        const int y = kItemsTop + static_cast<int>(i % rows) * kRowHeight;
        const bool installer = item.kind == ItemKind::kInstaller;
        ScreenButtonKind kind = installer && chained ? ScreenButtonKind::kCheckBox : ScreenButtonKind::kPush;
        std::string caption = installer && !chained ? "Install " + item.name : item.name;
        PlacedButton button = Placed(kind, x, y, captionWidth, caption);
        button.command = item.discPath;
        button.keepsScreen = !installer;
        std::string file = item.discPath;
        if (!installer) {
            button.helpText = "Opens " + file + ".";
            button.installMessage = "Opening " + item.name + "...";
            button.failureMessage = file + " could not be opened.";
        } else {
            button.helpText = "Installs " + item.name + " (" + file + ")" + (chained ? " when ticked." : ".");
            button.installMessage = "Installing " + item.name + "...";
            button.failureMessage = file + " could not be started.";
        }
        button.helpText = Fitted(button.helpText, layout.help.width, kHelpFontHeight, 2);
        layout.buttons.push_back(button);
    }
    // Install selected goes before the documents' numbers only in the row;
    // the numbers keep the check boxes first, which is the chain's order.
    if (chained) {
        PlacedButton install = Placed(ScreenButtonKind::kInstall, kMargin, kBottomRowY, 240, "Install selected");
        install.helpText = "Installs every ticked item in turn.";
        layout.buttons.push_back(install);
    }
    PlacedButton exit = Placed(ScreenButtonKind::kExit, kRightEdge - 120, kBottomRowY, 120 - kButtonFrame - kCaptionGap, "Exit");
    exit.helpText = "Closes this screen.";
    layout.buttons.push_back(exit);
    return layout;
}
