#include "design/text_picture.h"

#include <stdexcept>
#include <vector>

#include "design/design_files.h"
#include "design/text_raster.h"
#include "pictures/picture_pixels.h"
#include "script/screen_scale.h"

namespace {

std::string ParamOf(const QueryParameters& request, const char* name) {
    auto value = request.find(name);
    return value == request.end() ? std::string() : value->second;
}

bool HasParam(const QueryParameters& request, const char* name) { return request.count(name) > 0; }

int NumberOf(const QueryParameters& request, const char* name) {
    const std::string value = ParamOf(request, name);
    return value.empty() ? 0 : std::stoi(value);
}

std::uint32_t ColourOf(const QueryParameters& request, const char* name) {
    return static_cast<std::uint32_t>(std::stoul(ParamOf(request, name), nullptr, 16));
}

// The screen's whole factor, 1 when not given.
int ScaleOf(const QueryParameters& request) {
    const int scale = HasParam(request, "scale") ? NumberOf(request, "scale") : 1;
    if (scale < 1 || scale > kMaxScreenScale) throw std::invalid_argument("a screen's scale is 1 to 5");
    return scale;
}

RasterFont FontOf(const QueryParameters& request) {
    RasterFont font;
    font.systemFont = ParamOf(request, "system") == "1";
    font.changes.faceName = ParamOf(request, "face");
    font.changes.hasFaceName = !font.changes.faceName.empty();
    font.changes.hasHeight = HasParam(request, "size");
    font.changes.height = NumberOf(request, "size");
    font.changes.bold = ParamOf(request, "bold") == "1";
    font.changes.italic = ParamOf(request, "italic") == "1";
    font.changes.underline = ParamOf(request, "underline") == "1";
    font.changes.strikeOut = ParamOf(request, "strikeout") == "1";
    font.scale = ScaleOf(request);
    return font;
}

// The rectangle of the background picture, drawn `scale` times larger, that
// the program copies back under a text; black where the rectangle leaves the
// picture.
std::vector<std::uint32_t> BackgroundPart(const std::string& discFolder, const std::string& relative, int x, int y,
                                          int width, int height, int scale) {
    const std::string path = FileInsideFolder(discFolder, relative);
    std::string bytes;
    PicturePixels pixels;
    std::string why;
    if (path.empty() || !ReadWholeFile(path, &bytes)) throw std::invalid_argument("cannot read '" + relative + "'");
    if (!DecodePicture(std::vector<unsigned char>(bytes.begin(), bytes.end()), &pixels, &why)) {
        throw std::invalid_argument("'" + relative + "' is not shown: " + why);
    }
    std::vector<std::uint32_t> part(static_cast<std::size_t>(width) * height, 0);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const long long sx = static_cast<long long>(x) + column, sy = static_cast<long long>(y) + row;
            if (sx < 0 || sy < 0 || sx / scale >= pixels.width || sy / scale >= pixels.height) continue;
            const long long px = sx / scale, py = sy / scale;
            part[static_cast<std::size_t>(row) * width + column] = pixels.colours[py * pixels.width + px];
        }
    }
    return part;
}

}  // namespace

std::string TextPicturePng(const std::string& discFolder, const QueryParameters& request) {
    const int width = NumberOf(request, "width"), height = NumberOf(request, "height");
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        throw std::invalid_argument("a text's size is 1 to 4096 pixels");
    }
    std::string why;
    const TextCoverage coverage = RasterText(FontOf(request), ParamOf(request, "text"), width, height, &why);
    if (!why.empty()) throw std::runtime_error(why);
    std::vector<std::uint32_t> below;
    if (HasParam(request, "fill")) {
        below.assign(coverage.level.size(), ColourOf(request, "fill"));
    } else if (HasParam(request, "back")) {
        below = BackgroundPart(discFolder, ParamOf(request, "back"), NumberOf(request, "x"),
                               NumberOf(request, "y"), width, height, ScaleOf(request));
    }
    return TextPng(coverage, ColourOf(request, "colour"), below.empty() ? nullptr : &below);
}
