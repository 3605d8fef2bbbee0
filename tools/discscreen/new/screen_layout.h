#pragma once
// Where everything of a new disc's screen goes on its 640 by 480 picture:
// the title band, the items in one column (up to six) or two, a help area
// that every button's help text shares, and a bottom row with the install
// button (for two or more installers, which become check boxes) and Exit.
// Nothing overlaps, and each caption is cut to what its place holds.
#include <string>
#include <vector>

#include "new/disc_items.h"
#include "pictures/screen_styles.h"

constexpr std::size_t kMostItems = 12;
constexpr int kCaptionFontHeight = 18;
constexpr int kHelpFontHeight = 16;

struct Rectangle {
    int x = 0, y = 0, width = 0, height = 0;
    bool Overlaps(const Rectangle& other) const {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
               other.y < y + height;
    }
};

enum class ScreenButtonKind { kPush, kExit, kInstall, kCheckBox };

struct PlacedButton {
    ScreenButtonKind kind = ScreenButtonKind::kPush;
    Rectangle picture;  // the frame's place
    Rectangle caption;
    std::string captionText;  // code page 1252
    std::string helpText;
    std::string command;         // empty for Install and Exit
    bool keepsScreen = false;    // a document opens beside the screen
    std::string installMessage;  // shown while it starts
    std::string failureMessage;
};

struct ScreenLayout {
    BackgroundPlan background;
    Rectangle help;
    std::vector<PlacedButton> buttons;  // in the order of their numbers
    std::vector<DiscItem> leftOut;      // beyond kMostItems
};

// `title` in UTF-8 (drawn on the background); the items' names in code page
// 1252, as the script holds them.
ScreenLayout LayOutScreen(const std::vector<DiscItem>& items, const std::string& title);
