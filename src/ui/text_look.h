#pragma once
// How a screen text looks in its normal and highlighted forms: what is put
// behind it and in which colour it is written. No drawing happens here.
#include "script/screen_model.h"

// The 16 colours that texts name by number, as 0x00BBGGRR. An index outside
// the table gives black.
unsigned long TableColour(int index);

struct TextLook {
    bool drawNothing = false;        // leave the surface as it is
    int fillColour = kColourNone;    // table index to fill the rectangle with, or none
    bool restoreBackground = false;  // copy the background picture back under the text
    bool drawText = false;
    int textColour = 0;              // table index, always inside the table
};

// A colour that the table does not hold counts as if the field had been
// left out: no normal colour (shown only while highlighted), highlight
// colour 0, no highlight background.
TextLook LookOf(const TextItem& text, bool highlighted, bool hasBackground);

// The text's rectangle, right and bottom edges held inside the int range, so
// that a text placed near the limits cannot overflow its edges.
struct TextBounds {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
TextBounds BoundsOf(const TextItem& text);
