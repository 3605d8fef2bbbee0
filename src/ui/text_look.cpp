#include "ui/text_look.h"

#include <climits>

namespace {
constexpr int kTableSize = 16;
constexpr unsigned long kTable[kTableSize] = {
    0x000000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080, 0xC0C0C0,
};

bool InTable(int index) { return index >= 0 && index < kTableSize; }

int SaturatedSum(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}
}  // namespace

unsigned long TableColour(int index) { return InTable(index) ? kTable[index] : 0; }

TextLook LookOf(const TextItem& text, bool highlighted, bool hasBackground) {
    int normal = text.normalColour;
    if (!InTable(normal) && normal != kColourHelp) normal = kColourNone;
    int highlight = InTable(text.highlightColour) ? text.highlightColour : 0;
    int fill = InTable(text.highlightBackground) ? text.highlightBackground : kColourNone;

    TextLook look;
    if (!highlighted && normal == kColourHelp) {
        look.drawNothing = true;
        return look;
    }
    if (highlighted && fill != kColourNone) {
        look.fillColour = fill;
    } else {
        look.restoreBackground = hasBackground;
    }
    if (!highlighted && normal == kColourNone) return look;
    look.drawText = true;
    look.textColour = highlighted ? highlight : normal;
    return look;
}

TextBounds BoundsOf(const TextItem& text) {
    TextBounds bounds;
    bounds.left = text.x;
    bounds.top = text.y;
    bounds.right = SaturatedSum(text.x, text.width);
    bounds.bottom = SaturatedSum(text.y, text.height);
    return bounds;
}
