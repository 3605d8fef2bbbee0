#pragma once
// How much larger the screen is drawn: one whole factor for everything
// (pictures, fonts, places, hit areas, the window), chosen once at start.

#include <string>

#include "script/machine.h"

// The whole factor for a display of this many dots per inch: the one
// nearest to dpi / 96 on a ratio scale, so that the screen comes out as
// little too large or too small as a whole factor allows. 96 and anything
// that cannot be a display's (0, negative) give 1; at most kMaxScreenScale
// (500 %, the most that Windows offers).
constexpr int kMaxScreenScale = 5;
int ScaleForDpi(int dpi);

struct ScreenScale {
    int factor = 1;
    // The DPI that the system makes its stock fonts for: the display's
    // where the factor comes from it, else 96 (the stock fonts are left as
    // the system makes them).
    int dpi = 96;
};

// Whether this Windows scales the screen by the display's DPI: Vista
// (version 6) and later.
inline bool ScalesWithDpi(const OsVersionInfo& version) {
    return version.platformId == 2 && version.major >= 6;
}

// The scale for this machine. Windows before Vista draws the screen as it
// always has, at any DPI. From Vista on the program declares
// itself DPI-aware first (an unaware program is told 96 and stretched by
// Windows, blurred) and then scales by the display's DPI.
ScreenScale ChooseScreenScale(Machine& machine);

// A height or width of one of the system's stock fonts at the screen's
// scale. The system makes them for its DPI already (Windows for a DPI-aware
// program, and Wine for every program), so this is their size at 96 DPI
// times the factor; unchanged at 96 DPI and before Vista.
int StockFontLength(int length, const ScreenScale& scale);

// A length or place of the script at the screen's scale, held inside the
// int range; and one read from a field as ParseInteger reads it.
int Scaled(int value, int scale);
int ParseScaledInteger(const std::string& field, int scale);
