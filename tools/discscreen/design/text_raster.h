#pragma once
// A screen text as the program writes it under Wine: the font the program
// makes from a FONT entry (or the system font), resolved to the typeface the
// preview's Wine prefix draws, rasterised with FreeType at the size Wine
// gives it, laid out as DrawTextA with DT_WORDBREAK lays it out (lines,
// word wrap, '&' prefixes) and cut at the text's rectangle.
#include <cstdint>
#include <string>
#include <vector>

#include "script/script_host.h"

struct RasterFont {
    bool systemFont = false;  // the text has no font of its own
    FontChanges changes;      // the FONT entry, over the default GUI font
    int scale = 1;            // the screen's whole factor: the program makes its fonts that much larger
};

// Coverage of each pixel of the rectangle in Wine's 17 grey levels, 0
// (untouched) to 16 (covered), the top row first.
constexpr int kFullCoverage = 16;
struct TextCoverage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> level;
};

// GetTextExtentPointA of the whole text as one run (line breaks included),
// for a text whose entry gives no size. The text is UTF-8.
TextExtent MeasureRasterText(const RasterFont& font, const std::string& text);

// What DrawTextA draws of the text inside a rectangle of that size. Empty
// coverage (all 0) when no typeface can be loaded; *why then says so.
TextCoverage RasterText(const RasterFont& font, const std::string& text, int width, int height,
                        std::string* why);

// One pixel of text in a colour over the colour below it, both 0xRRGGBB, as
// Wine blends its grey levels (measured, see tests/wine/wine-facts.md).
std::uint32_t BlendText(std::uint32_t below, std::uint32_t colour, int level);

// The text in one colour (0xRRGGBB) as a PNG. Over `below` (the rectangle's
// pixels as the program prepared them, as many as the coverage has) the
// picture is opaque and exact; without, its alpha stands for the levels as
// they come out over black.
std::string TextPng(const TextCoverage& coverage, std::uint32_t colour, const std::vector<std::uint32_t>* below);
