#include "script/screen_scale.h"

#include <climits>

#include "script/numbers.h"

namespace {
// From these DPI on, factors 2, 3, 4 and 5: factor n is nearest (on a ratio
// scale) from 96 * sqrt((n - 1) * n) on. So 125 % (120 DPI) stays 1 and
// 150 % (144) is 2: a 640 by 480 screen then takes 1280 by 960 pixels,
// 4/3 of the size the user asked for, where 1 would give 2/3 of it and
// leave a 12-pixel text less than 6 points high.
constexpr int kScaleFrom[kMaxScreenScale - 1] = {136, 236, 333, 430};
}  // namespace

int ScaleForDpi(int dpi) {
    int scale = 1;
    for (int from : kScaleFrom) scale += dpi >= from;
    return scale;
}

int Scaled(int value, int scale) {
    int scaled;
    if (__builtin_mul_overflow(value, scale, &scaled)) return value < 0 ? INT_MIN : INT_MAX;
    return scaled;
}

int ParseScaledInteger(const std::string& field, int scale) {
    return Scaled(ParseInteger(field), scale);
}

ScreenScale ChooseScreenScale(Machine& machine) {
    ScreenScale scale;
    if (!ScalesWithDpi(machine.WindowsVersion())) return scale;
    machine.DeclareDpiAware();
    const int dpi = machine.DisplayDpi();
    if (dpi > 0) scale.dpi = dpi;
    scale.factor = ScaleForDpi(scale.dpi);
    return scale;
}

int StockFontLength(int length, const ScreenScale& scale) {
    return Scaled(length, 96 * scale.factor) / scale.dpi;
}
