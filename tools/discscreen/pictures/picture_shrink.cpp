#include "pictures/picture_shrink.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "pictures/bitmap_writer.h"
#include "pictures/colour_reduction.h"
#include "reading/disc_folder.h"
#include "pictures/picture_files.h"
#include "pictures/picture_pixels.h"

namespace {

std::string FormName(const std::vector<unsigned char>& file) {
    const int bits = file[28];
    const int compression = file[30];
    return std::to_string(bits) + "-bit" + (compression == 1 ? " RLE8" : compression == 2 ? " RLE4" : "");
}

std::string Grouped(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

// The pictures of every reading, as Windows paths on the disc.
class PictureCollector : public ReadingObserver {
public:
    std::vector<std::string> paths;
    void OnSystemRead(const SystemReading& reading) override {
        // Named ones too: a picture that does not load is what most needs saying.
        for (const std::string& background : reading.host.namedBackgrounds) Add(background);
        for (const std::string& picture : reading.host.ButtonPictures()) Add(picture);
    }

private:
    void Add(const std::string& path) {
        if (seen_.insert(path).second) paths.push_back(path);
    }
    std::set<std::string> seen_;
};

}  // namespace

ShrunkPicture ShrinkPicture(const std::vector<unsigned char>& file, const ShrinkOptions& options) {
    ShrunkPicture result;
    result.before = file.size();
    PicturePixels original;
    std::string why;
    if (!DecodePicture(file, &original, &why)) {
        const std::string format = PictureFormat(file);
        result.remark = format == "BMP" || format.empty()
                            ? "left as it is: " + why
                            : "left as it is: a " + format + " picture, which the program cannot show"
                              " (discscreen picture makes a bitmap of it)";
        return result;
    }
    PicturePixels meant = original;
    std::vector<std::uint32_t> palette = ColoursByUse(original, 256);
    std::string reduction;
    const std::size_t limit = options.colours ? options.colours : 256;
    if (palette.size() > limit) {
        if (!options.colours) {
            result.remark = "left as it is: more than 256 colours (--colours N reduces them)";
            return result;
        }
        palette = ReduceColours(meant, options.colours, options.dither);
        ReductionError error = CompareColours(original, meant);
        char text[120];
        std::snprintf(text, sizeof text, " (reduced%s from more than %zu: error %.2f root mean square, largest %d of 255)",
                      options.dither ? " with dithering" : "", options.colours, error.rms, error.largest);
        reduction = text;
    }
    std::vector<unsigned char> smaller = SmallestBitmap(meant, palette);
    PicturePixels readBack;
    if (smaller.empty() || !DecodePicture(smaller, &readBack, &why) || readBack.colours != meant.colours ||
        readBack.width != meant.width || readBack.height != meant.height) {
        result.remark = "left as it is: the smaller file would not show the same pixels";
        return result;
    }
    if (smaller.size() >= file.size()) {
        result.remark = "left as it is: already as small as it can be (" + std::to_string(original.bitCount) + "-bit)";
        return result;
    }
    result.changed = true;
    result.bytes = std::move(smaller);
    result.remark = Grouped(file.size()) + " -> " + Grouped(result.bytes.size()) + " bytes, " +
                    FormName(result.bytes) + ", " + std::to_string(palette.size()) + " colours" +
                    (reduction.empty() ? ", every pixel the same" : reduction);
    return result;
}

std::vector<ShrunkPicture> ShrinkDiscPictures(const ScriptTarget& target, const ShrinkOptions& options) {
    PictureCollector collector;
    ReadEverySystem(target, collector);
    DiscFolder disc(target.discFolder);
    std::vector<ShrunkPicture> pictures;
    std::set<std::string> done;
    for (const std::string& path : collector.paths) {
        DiscFile file = disc.Find(path);
        if (!file.found || file.directory || !done.insert(file.localPath).second) continue;
        std::ifstream in(file.localPath, std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ShrunkPicture picture = ShrinkPicture(bytes, options);
        picture.localPath = file.localPath;
        picture.discName = file.discName;
        for (char& ch : picture.discName) {
            if (ch == '\\') ch = '/';
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}
