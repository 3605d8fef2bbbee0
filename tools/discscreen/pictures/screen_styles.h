#pragma once
// The built-in looks of a new disc's screen: each draws the background and
// one caption-free strip per kind of button with Cairo, anti-aliased, with
// gradients that change only from row to row (so that run-length encoding
// holds a row in a few bytes). The texts are the program's own, in colours
// of its 16-colour table.
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture_pixels.h"

struct ScreenStyle {
    const char* name;
    const char* looks;  // a few words for the usage message
    std::uint32_t bandTop, bandBottom;  // the title band's gradient
    std::uint32_t body;                 // behind every button: their corners are this colour
    std::uint32_t helpPanel;
    std::uint32_t titleColour;
    std::uint32_t face, faceLight, faceDark, mark, glow, disabled;
    bool round, bevelled;
    // Indices of the program's colour table.
    int captionNormal, captionHighlight, helpColour;
};

const std::vector<ScreenStyle>& ScreenStyles();
const ScreenStyle* FindScreenStyle(const std::string& name);

// Where the background's parts lie, in pixels of the screen.
struct BackgroundPlan {
    int width = 640, height = 480;
    int bandHeight = 96;
    std::string title;
    int helpX = 0, helpY = 0, helpWidth = 0, helpHeight = 0;
};

// The kinds of strip, each of four frames side by side.
enum class StripKind { kPush, kInstall, kExit, kCheck };
constexpr int kButtonFrame = 32;  // push, install and exit frames are square
constexpr int kCheckFrame = 24;

PicturePixels DrawBackground(const ScreenStyle& style, const BackgroundPlan& plan);
PicturePixels DrawStrip(const ScreenStyle& style, StripKind kind);

// Frees what Cairo and fontconfig keep of the typefaces between drawings
// (they are read again when next needed), so that a finished drawing
// leaves nothing behind.
void ForgetTypefaces();

// The width in pixels that `text` takes at least in a font `height` pixels
// high, measured in a typeface wider than the program's.
int TextWidthAtMost(const std::string& text, int height);
