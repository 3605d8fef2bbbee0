#include "pictures/screen_styles.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>

namespace {

constexpr char kTypeface[] = "DejaVu Sans";

const std::vector<ScreenStyle> kStyles = {
    // Dark: a deep blue band fading into the body, round glossy buttons.
    {"dark", "dark blue gradient, round glossy buttons", 0x1C3F7A, 0x0B1630, 0x0B1630, 0x14244A, 0xFFFFFF,
     0x2F6FD0, 0x7FB2FF, 0x163A78, 0xFFFFFF, 0xFFD54A, 0x5A6275, true, false, 7, 6, 7},
    // Light: a pale flat screen with flat rounded buttons.
    {"light", "light and flat, rounded buttons", 0xFFFFFF, 0xE4ECF4, 0xF4F6F8, 0xE4E9EE, 0x1F2A36,
     0x3A7BC8, 0x5C95D8, 0x2A5E9E, 0xFFFFFF, 0xF0A020, 0xB8BEC6, false, false, 0, 8, 0},
    // Classic: grey and bevelled, as the first Windows set-up screens were.
    {"classic", "classic grey, bevelled buttons", 0x000080, 0x1084D0, 0xC0C0C0, 0xB4B4B4, 0xFFFFFF,
     0xC0C0C0, 0xFFFFFF, 0x808080, 0x000000, 0x000080, 0xA0A0A0, false, true, 0, 8, 0},
};

double Red(std::uint32_t colour) { return ((colour >> 16) & 0xFF) / 255.0; }
double Green(std::uint32_t colour) { return ((colour >> 8) & 0xFF) / 255.0; }
double Blue(std::uint32_t colour) { return (colour & 0xFF) / 255.0; }

void Paint(cairo_t* cr, std::uint32_t colour) { cairo_set_source_rgb(cr, Red(colour), Green(colour), Blue(colour)); }

// A gradient from top to bottom: every row one colour.
void PaintDownward(cairo_t* cr, double top, double bottom, std::uint32_t from, std::uint32_t to) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(pattern, 0, Red(from), Green(from), Blue(from));
    cairo_pattern_add_color_stop_rgb(pattern, 1, Red(to), Green(to), Blue(to));
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double share) {
    auto channel = [&](int shift) {
        double value = ((a >> shift) & 0xFF) * (1 - share) + ((b >> shift) & 0xFF) * share;
        return static_cast<std::uint32_t>(std::lround(value)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

PicturePixels PixelsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    PicturePixels pixels;
    pixels.width = cairo_image_surface_get_width(surface);
    pixels.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    pixels.colours.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint32_t* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < pixels.width; ++x) pixels.colours[static_cast<std::size_t>(y) * pixels.width + x] = row[x] & 0xFFFFFF;
    }
    return pixels;
}

void RoundedRectangle(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// The outline of a button face within a frame of `size` from (x, y).
void FacePath(cairo_t* cr, const ScreenStyle& style, double x, double y, double size) {
    if (style.round) {
        cairo_arc(cr, x + size / 2, y + size / 2, size / 2 - 1.5, 0, 2 * M_PI);
    } else if (style.bevelled) {
        cairo_rectangle(cr, x + 1, y + 1, size - 2, size - 2);
    } else {
        RoundedRectangle(cr, x + 1.5, y + 1.5, size - 3, size - 3, size / 5);
    }
}

enum class Look { kNormal, kPressed, kHighlight, kDisabled };

void DrawFace(cairo_t* cr, const ScreenStyle& style, double x, double y, double size, Look look) {
    const bool disabled = look == Look::kDisabled;
    std::uint32_t face = disabled ? style.disabled : style.face;
    std::uint32_t light = disabled ? Mix(style.disabled, 0xFFFFFF, 0.3) : style.faceLight;
    std::uint32_t dark = disabled ? Mix(style.disabled, 0x000000, 0.3) : style.faceDark;
    if (look == Look::kHighlight && !style.bevelled) {
        face = Mix(face, 0xFFFFFF, 0.2);
        light = Mix(light, 0xFFFFFF, 0.2);
    }
    if (look == Look::kPressed) std::swap(light, dark);
    FacePath(cr, style, x, y, size);
    if (style.bevelled) {
        Paint(cr, face);
        cairo_fill(cr);
        // Light from the top left, shadow to the bottom right; a pressed
        // button is lit the other way.
        cairo_set_line_width(cr, 2);
        Paint(cr, light);
        cairo_move_to(cr, x + 2, y + size - 2);
        cairo_line_to(cr, x + 2, y + 2);
        cairo_line_to(cr, x + size - 2, y + 2);
        cairo_stroke(cr);
        Paint(cr, dark);
        cairo_move_to(cr, x + size - 2, y + 2);
        cairo_line_to(cr, x + size - 2, y + size - 2);
        cairo_line_to(cr, x + 2, y + size - 2);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1);
        Paint(cr, 0x000000);
        cairo_rectangle(cr, x + 0.5, y + 0.5, size - 1, size - 1);
        cairo_stroke(cr);
        if (look == Look::kHighlight) {
            Paint(cr, style.glow);
            cairo_set_line_width(cr, 1);
            cairo_rectangle(cr, x + 4.5, y + 4.5, size - 9, size - 9);
            cairo_stroke(cr);
        }
        return;
    }
    if (style.round) {
        PaintDownward(cr, y, y + size, light, dark);
    } else {
        Paint(cr, face);
    }
    cairo_fill_preserve(cr);
    Paint(cr, look == Look::kHighlight ? style.glow : dark);
    cairo_set_line_width(cr, look == Look::kHighlight ? 2 : 1);
    cairo_stroke(cr);
}

// The sign on a button: an arrow (push), a tick (install), a cross (exit).
void DrawMark(cairo_t* cr, const ScreenStyle& style, StripKind kind, double x, double y, double size, Look look) {
    const double shift = look == Look::kPressed ? 1 : 0;
    const double cx = x + size / 2 + shift, cy = y + size / 2 + shift, r = size * 0.22;
    Paint(cr, look == Look::kDisabled ? Mix(style.disabled, style.mark, 0.5) : style.mark);
    cairo_set_line_width(cr, size / 10);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (kind) {
        case StripKind::kPush:
            cairo_move_to(cr, cx - r * 0.6, cy - r);
            cairo_line_to(cr, cx + r, cy);
            cairo_line_to(cr, cx - r * 0.6, cy + r);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case StripKind::kInstall:
        case StripKind::kCheck:
            cairo_move_to(cr, cx - r, cy);
            cairo_line_to(cr, cx - r * 0.25, cy + r * 0.8);
            cairo_line_to(cr, cx + r, cy - r * 0.8);
            cairo_stroke(cr);
            break;
        case StripKind::kExit:
            cairo_move_to(cr, cx - r * 0.8, cy - r * 0.8);
            cairo_line_to(cr, cx + r * 0.8, cy + r * 0.8);
            cairo_move_to(cr, cx + r * 0.8, cy - r * 0.8);
            cairo_line_to(cr, cx - r * 0.8, cy + r * 0.8);
            cairo_stroke(cr);
            break;
    }
}

// A check box frame: a box, ticked or not, ringed when current.
void DrawCheckFrame(cairo_t* cr, const ScreenStyle& style, double x, bool checked, bool current) {
    const double size = kCheckFrame;
    const std::uint32_t inside = style.bevelled ? 0xFFFFFF : style.round ? style.faceDark : 0xFFFFFF;
    if (style.round) {
        RoundedRectangle(cr, x + 2, 2, size - 4, size - 4, 5);
    } else {
        cairo_rectangle(cr, x + 2, 2, size - 4, size - 4);
    }
    Paint(cr, inside);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, current ? 2 : 1);
    Paint(cr, current ? style.glow : style.bevelled ? 0x808080 : style.face);
    cairo_stroke(cr);
    if (checked) {
        ScreenStyle tick = style;
        tick.mark = style.round ? 0xFFFFFF : style.bevelled ? 0x000000 : style.face;
        DrawMark(cr, tick, StripKind::kCheck, x, 0, size, Look::kNormal);
    }
}

}  // namespace

const std::vector<ScreenStyle>& ScreenStyles() { return kStyles; }

const ScreenStyle* FindScreenStyle(const std::string& name) {
    for (const ScreenStyle& style : kStyles) {
        if (name == style.name) return &style;
    }
    return nullptr;
}

PicturePixels DrawBackground(const ScreenStyle& style, const BackgroundPlan& plan) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, plan.width, plan.height);
    cairo_t* cr = cairo_create(surface);
    Paint(cr, style.body);
    cairo_paint(cr);
    cairo_rectangle(cr, 0, 0, plan.width, plan.bandHeight);
    PaintDownward(cr, 0, plan.bandHeight, style.bandTop, style.bandBottom);
    cairo_fill(cr);
    if (plan.helpWidth > 0) {
        cairo_rectangle(cr, plan.helpX - 8, plan.helpY - 6, plan.helpWidth + 16, plan.helpHeight + 12);
        Paint(cr, style.helpPanel);
        cairo_fill(cr);
    }
    // The title, as large as fits beside the margins.
    cairo_select_font_face(cr, kTypeface, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    const double room = plan.width - 80;
    double size = 30;
    cairo_text_extents_t extents;
    for (;; size -= 1) {
        cairo_set_font_size(cr, size);
        cairo_text_extents(cr, plan.title.c_str(), &extents);
        if (extents.x_advance <= room || size <= 14) break;
    }
    std::string title = plan.title;
    while (extents.x_advance > room && title.size() > 1) {
        title.pop_back();
        while (!title.empty() && (static_cast<unsigned char>(title.back()) & 0xC0) == 0x80) title.pop_back();
        cairo_text_extents(cr, (title + "...").c_str(), &extents);
        if (extents.x_advance <= room) title += "...";
    }
    Paint(cr, style.titleColour);
    cairo_move_to(cr, 40, plan.bandHeight / 2.0 + size / 3);
    cairo_show_text(cr, title.c_str());
    cairo_destroy(cr);
    PicturePixels pixels = PixelsOf(surface);
    cairo_surface_destroy(surface);
    return pixels;
}

PicturePixels DrawStrip(const ScreenStyle& style, StripKind kind) {
    const int size = kind == StripKind::kCheck ? kCheckFrame : kButtonFrame;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4 * size, size);
    cairo_t* cr = cairo_create(surface);
    Paint(cr, style.body);
    cairo_paint(cr);
    if (kind == StripKind::kCheck) {
        // Unchecked, unchecked and current, checked, checked and current.
        for (int frame = 0; frame < 4; ++frame) DrawCheckFrame(cr, style, frame * size, frame >= 2, frame % 2 == 1);
    } else {
        // Normal, pressed, current, disabled.
        const Look looks[4] = {Look::kNormal, Look::kPressed, Look::kHighlight, Look::kDisabled};
        for (int frame = 0; frame < 4; ++frame) {
            DrawFace(cr, style, frame * size, 0, size, looks[frame]);
            DrawMark(cr, style, kind, frame * size, 0, size, looks[frame]);
        }
    }
    cairo_destroy(cr);
    PicturePixels pixels = PixelsOf(surface);
    cairo_surface_destroy(surface);
    return pixels;
}

int TextWidthAtMost(const std::string& text, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, kTypeface, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, height);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return static_cast<int>(std::ceil(extents.x_advance));
}

void ForgetTypefaces() {
    cairo_debug_reset_static_data();
    FcFini();
}
