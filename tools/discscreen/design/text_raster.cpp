#include "design/text_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <png.h>

#include <cmath>
#include <map>
#include <mutex>

#include "script/screen_scale.h"

namespace {

// Wine 8 under the preview draws every face a script can name (Tahoma,
// Arial, MS Sans Serif, a face it does not know, none) as DejaVu Sans, and
// the system font as DejaVu Sans Bold with a cell 16 pixels high, narrowed
// to an average width of 7 (see tests/wine/wine-facts.md).
constexpr char kFontFolder[] = "/usr/share/fonts/truetype/dejavu/";
constexpr int kSystemFontHeight = 16;
constexpr int kSystemFontWidth = 7;
constexpr int kDefaultGuiFontHeight = -11;  // the default GUI font: 8 points at 96 dpi
// Larger ems than a text's largest rectangle are drawn at this one: a script's
// height of millions must not make glyphs of gigabytes.
constexpr FT_Long kLargestEm = 4096;

std::string FaceFile(bool bold, bool italic) {
    const char* style = bold ? (italic ? "-BoldOblique" : "-Bold") : (italic ? "-Oblique" : "");
    return std::string(kFontFolder) + "DejaVuSans" + style + ".ttf";
}

class Faces {
public:
    ~Faces() {
        for (auto& [path, face] : faces_) FT_Done_Face(face);
        if (library_) FT_Done_FreeType(library_);
    }
    std::mutex mutex;

    FT_Face Open(const std::string& path, std::string* why) {
        if (!library_ && FT_Init_FreeType(&library_) != 0) {
            *why = "FreeType cannot start";
            return nullptr;
        }
        auto found = faces_.find(path);
        if (found != faces_.end()) return found->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) {
            *why = "the typeface " + path + " is missing (tools/install-deps.sh installs it)";
            return nullptr;
        }
        return faces_[path] = face;
    }

private:
    FT_Library library_ = nullptr;
    std::map<std::string, FT_Face> faces_;
};

Faces& SharedFaces() {
    static Faces faces;
    return faces;
}

// The font set to the size Wine gives the LOGFONT's height: a positive
// height is the cell (the OS/2 table's Windows ascent plus descent), a
// negative one the em.
struct SizedFont {
    FT_Face face = nullptr;
    int ascent = 0;
    int descent = 0;
    int underlineTop = 0, underlineSize = 0;
    int strikeTop = 0, strikeSize = 0;
    bool underline = false, strikeOut = false;
    double widthRatio = 1.0;  // a font narrowed by its LOGFONT width
};

int Rounded26(FT_Long value) { return static_cast<int>((value + 32) >> 6); }

bool SizeFont(const RasterFont& font, SizedFont* sized, std::string* why) {
    const FontChanges& changes = font.changes;
    const bool bold = font.systemFont || changes.bold;
    FT_Face face = SharedFaces().Open(FaceFile(bold, !font.systemFont && changes.italic), why);
    if (!face) return false;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    const long cell = os2 ? os2->usWinAscent + os2->usWinDescent : face->ascender - face->descender;
    int height = font.systemFont ? kSystemFontHeight : changes.hasHeight ? changes.height : kDefaultGuiFontHeight;
    if (height == 0) height = kSystemFontHeight;
    height = Scaled(height, font.scale);
    FT_Long ppem = 0;
    if (height > 32767) {  // beyond the 16.16 arithmetic: the largest em in any case
        ppem = kLargestEm;
    } else if (height > 0) {
        ppem = FT_MulFix(face->units_per_EM, FT_DivFix(height, cell));
        // A rounded-up size whose cell outgrows the height is one smaller.
        if (ppem > 1 && FT_MulFix(cell, FT_DivFix(ppem, face->units_per_EM)) > height) --ppem;
    } else {
        ppem = static_cast<FT_Long>(-static_cast<long long>(height) > kLargestEm ? kLargestEm : -static_cast<long long>(height));
    }
    if (ppem < 1) ppem = 1;
    if (ppem > kLargestEm) ppem = kLargestEm;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) {
        *why = "the typeface cannot be set to " + std::to_string(ppem) + " pixels";
        return false;
    }
    const FT_Fixed scale = face->size->metrics.y_scale;
    sized->face = face;
    sized->ascent = Rounded26(FT_MulFix(os2 ? os2->usWinAscent : face->ascender, scale));
    sized->descent = Rounded26(FT_MulFix(os2 ? os2->usWinDescent : -face->descender, scale));
    if (font.systemFont && os2 && os2->xAvgCharWidth > 0) {
        // Wine makes the system font taller on a larger display, and the
        // program keeps its width (seen at 192 DPI): it only narrows more.
        sized->widthRatio = kSystemFontWidth * static_cast<double>(face->units_per_EM) / (os2->xAvgCharWidth * ppem);
    }
    sized->underline = !font.systemFont && changes.underline;
    sized->strikeOut = !font.systemFont && changes.strikeOut;
    const int ulSize = post ? Rounded26(FT_MulFix(post->underlineThickness, scale)) : 1;
    sized->underlineSize = ulSize < 1 ? 1 : ulSize;
    sized->underlineTop = post ? -Rounded26(FT_MulFix(post->underlinePosition, scale)) : 1;
    const int stSize = os2 ? Rounded26(FT_MulFix(os2->yStrikeoutSize, scale)) : 1;
    sized->strikeSize = stSize < 1 ? 1 : stSize;
    sized->strikeTop = os2 ? -Rounded26(FT_MulFix(os2->yStrikeoutPosition, scale)) : -sized->ascent / 3;
    return true;
}

std::u32string Decode(const std::string& text) {
    std::u32string out;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const int length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 1;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int i = 1; i < length && at + i < text.size(); ++i) point = point << 6 | (text[at + i] & 0x3F);
        out.push_back(point);
        at += length;
    }
    return out;
}

// One character as written: '&' before a character underlines it and is
// not drawn; "&&" writes one '&'.
struct Written {
    char32_t point;
    bool prefixed;
};

std::vector<Written> WithoutPrefixes(const std::u32string& text) {
    std::vector<Written> out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == U'&' && at + 1 < text.size()) {
            ++at;
            out.push_back({text[at], text[at] != U'&'});
        } else if (text[at] != U'&') {
            out.push_back({text[at], false});
        }
    }
    return out;
}

// A narrowed font's advances are the full font's, narrowed and rounded up.
int Advance(const SizedFont& font, char32_t point) {
    if (FT_Load_Char(font.face, point, FT_LOAD_DEFAULT) != 0) return 0;
    const int advance = Rounded26(font.face->glyph->advance.x);
    return font.widthRatio == 1.0 ? advance : static_cast<int>(std::ceil(advance * font.widthRatio - 1e-9));
}

struct Line {
    std::size_t from, to;
};

bool IsBreak(char32_t point) { return point == U'\r' || point == U'\n'; }

// DT_WORDBREAK's lines: CR LF (or a CR or LF alone) ends a line; a line too
// wide ends at its last blank that fits, the blanks there are skipped, and a
// word wider than the rectangle stays whole on its own line.
std::vector<Line> LinesOf(const SizedFont& font, const std::vector<Written>& text, int width) {
    std::vector<Line> lines;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = at;
        while (end < text.size() && !IsBreak(text[end].point)) ++end;
        std::size_t fits = at;
        for (int used = 0; fits < end; ++fits) {
            used += Advance(font, text[fits].point);
            if (used > width) break;
        }
        if (fits < end) {
            std::size_t blank = fits;
            while (blank > at && text[blank].point != U' ') --blank;
            if (text[blank].point != U' ') {  // one long word
                blank = fits;
                while (blank < end && text[blank].point != U' ') ++blank;
            }
            std::size_t lineEnd = blank;
            while (lineEnd > at && text[lineEnd - 1].point == U' ') --lineEnd;
            lines.push_back({at, lineEnd});
            at = blank;
            while (at < end && text[at].point == U' ') ++at;
            if (at < end) continue;
        } else {
            lines.push_back({at, end});
        }
        if (end == text.size()) break;
        at = end + (text[end].point == U'\r' && end + 1 < text.size() && text[end + 1].point == U'\n' ? 2 : 1);
        if (at == text.size()) break;  // a text ending in a break has no empty last line
    }
    return lines;
}

void Cover(TextCoverage* out, int x, int y, int level) {
    if (x < 0 || y < 0 || x >= out->width || y >= out->height) return;
    std::uint8_t& pixel = out->level[static_cast<std::size_t>(y) * out->width + x];
    if (level > pixel) pixel = static_cast<std::uint8_t>(level);
}

void Bar(TextCoverage* out, int left, int right, int top, int size) {
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < right; ++x) Cover(out, x, y, kFullCoverage);
    }
}

void DrawGlyph(const SizedFont& font, char32_t point, int penX, int baseline, TextCoverage* out) {
    FT_Matrix narrowing = {static_cast<FT_Fixed>(font.widthRatio * 0x10000), 0, 0, 0x10000};
    FT_Set_Transform(font.face, &narrowing, nullptr);
    const bool loaded = FT_Load_Char(font.face, point, FT_LOAD_DEFAULT) == 0;
    FT_Set_Transform(font.face, nullptr, nullptr);
    if (!loaded || FT_Render_Glyph(font.face->glyph, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bitmap = font.face->glyph->bitmap;
    const int left = penX + font.face->glyph->bitmap_left;
    const int top = baseline - font.face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned column = 0; column < bitmap.width; ++column) {
            // FreeType's 256 shades become Wine's 17 levels, of which Wine
            // leaves the faintest undrawn (measured).
            const int level = bitmap.buffer[row * bitmap.pitch + column] * (kFullCoverage + 1) >> 8;
            if (level > 1) Cover(out, left + static_cast<int>(column), top + static_cast<int>(row), level);
        }
    }
}

}  // namespace

TextExtent MeasureRasterText(const RasterFont& font, const std::string& text) {
    std::lock_guard<std::mutex> lock(SharedFaces().mutex);
    SizedFont sized;
    std::string why;
    TextExtent extent;
    if (!SizeFont(font, &sized, &why)) return extent;
    std::u32string points = Decode(text);
    for (char32_t point : points) extent.width += Advance(sized, point);
    extent.height = sized.ascent + sized.descent;
    return extent;
}

TextCoverage RasterText(const RasterFont& font, const std::string& text, int width, int height, std::string* why) {
    TextCoverage out;
    out.width = width > 0 ? width : 0;
    out.height = height > 0 ? height : 0;
    out.level.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    std::lock_guard<std::mutex> lock(SharedFaces().mutex);
    SizedFont sized;
    if (!SizeFont(font, &sized, why)) return out;
    const std::vector<Written> written = WithoutPrefixes(Decode(text));
    const int lineHeight = sized.ascent + sized.descent;
    int top = 0;
    for (const Line& line : LinesOf(sized, written, out.width)) {
        if (top >= out.height) break;
        const int baseline = top + sized.ascent;
        int penX = 0;
        for (std::size_t at = line.from; at < line.to; ++at) {
            const int advance = Advance(sized, written[at].point);
            DrawGlyph(sized, written[at].point, penX, baseline, &out);
            if (written[at].prefixed) Bar(&out, penX, penX + advance, baseline + 1, 1);
            penX += advance;
        }
        if (sized.underline) Bar(&out, 0, penX, baseline + sized.underlineTop, sized.underlineSize);
        if (sized.strikeOut) Bar(&out, 0, penX, baseline + sized.strikeTop, sized.strikeSize);
        top += lineHeight;
    }
    return out;
}

namespace {
// The share of the text colour that each of the 17 levels gives a channel
// that the text brightens (out of 255); a channel the text darkens takes
// 255 minus the share of the opposite level. Measured under Wine 8: a level
// blends linearly, thin strokes come out stronger than their coverage.
constexpr int kLevelShare[kFullCoverage + 1] = {0,    0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                                                0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};

std::uint32_t BlendChannel(std::uint32_t below, std::uint32_t text, int level) {
    if (below == text) return below;
    if (below < text) {
        const std::uint32_t least = kLevelShare[level] * text / 255;
        return text - (text - below) * (text - least) / text;
    }
    const std::uint32_t most = kLevelShare[kFullCoverage - level] + (255 - kLevelShare[kFullCoverage - level]) * text / 255;
    return text + (below - text) * (most - text) / (255 - text);
}

std::string EncodeRgba(const std::vector<unsigned char>& rgba, int width, int height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr)) return "";
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr)) return "";
    png.resize(size);
    return png;
}
}  // namespace

std::uint32_t BlendText(std::uint32_t below, std::uint32_t colour, int level) {
    if (level <= 0) return below;
    if (level >= kFullCoverage) return colour;
    std::uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        out |= BlendChannel(below >> shift & 0xFF, colour >> shift & 0xFF, level) << shift;
    }
    return out;
}

std::string TextPng(const TextCoverage& coverage, std::uint32_t colour, const std::vector<std::uint32_t>* below) {
    if (coverage.width <= 0 || coverage.height <= 0) return "";
    std::vector<unsigned char> rgba;
    rgba.reserve(coverage.level.size() * 4);
    for (std::size_t at = 0; at < coverage.level.size(); ++at) {
        const int level = coverage.level[at];
        const std::uint32_t pixel = below ? BlendText(below->at(at), colour, level) : colour;
        const std::uint32_t alpha = below ? 255 : BlendText(0, 0xFFFFFF, level) & 0xFF;
        rgba.insert(rgba.end(), {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                                 static_cast<unsigned char>(pixel), static_cast<unsigned char>(alpha)});
    }
    return EncodeRgba(rgba, coverage.width, coverage.height);
}
