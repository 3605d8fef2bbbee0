#include "pictures/picture_files.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace {

// Beyond this a picture is no screen's picture, and not worth the memory.
constexpr std::uint64_t kMostPixels = 16u * 1024 * 1024;

std::uint32_t Over(std::uint32_t matte, int red, int green, int blue, int alpha) {
    auto mix = [&](int value, int shift) {
        int under = static_cast<int>((matte >> shift) & 0xFF);
        return static_cast<std::uint32_t>((value * alpha + under * (255 - alpha) + 127) / 255);
    };
    return mix(red, 16) << 16 | mix(green, 8) << 8 | mix(blue, 0);
}

bool SizeAllowed(std::uint64_t width, std::uint64_t height, std::string* why) {
    if (width == 0 || height == 0) {
        *why = "it has no pixels";
        return false;
    }
    if (width * height > kMostPixels) {
        *why = "it has more than 16 million pixels";
        return false;
    }
    return true;
}

bool DecodePng(const std::vector<unsigned char>& file, std::uint32_t matte, PicturePixels* pixels,
               std::string* why) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        *why = std::string("libpng: ") + image.message;
        return false;
    }
    if (!SizeAllowed(image.width, image.height, why)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        *why = std::string("libpng: ") + image.message;
        png_image_free(&image);
        return false;
    }
    pixels->width = static_cast<int>(image.width);
    pixels->height = static_cast<int>(image.height);
    pixels->colours.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < pixels->colours.size(); ++i) {
        const unsigned char* p = &rgba[4 * i];
        pixels->colours[i] = Over(matte, p[0], p[1], p[2], p[3]);
    }
    return true;
}

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

// A damaged file's warnings are no news: it is refused or read as it is.
void JpegWarningKeptQuiet(j_common_ptr) {}

void JpegFailed(j_common_ptr info) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

// Only plain data lives across the long jump: the decoder writes into
// buffers that the caller owns.
bool DecodeJpegRows(const std::vector<unsigned char>& file, std::vector<unsigned char>* rgb,
                    std::vector<unsigned char>* inks, int* width, int* height, std::string* why) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFailed;
    errors.manager.output_message = JpegWarningKeptQuiet;
    if (setjmp(errors.escape)) {
        *why = std::string("libjpeg: ") + errors.message;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    // Pictures made for print are CMYK, which libjpeg hands over as it is.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool inverted = info.saw_Adobe_marker;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (static_cast<std::uint64_t>(info.image_width) * info.image_height > kMostPixels) {
        *why = "it has more than 16 million pixels";
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    *width = static_cast<int>(info.output_width);
    *height = static_cast<int>(info.output_height);
    rgb->assign(static_cast<std::size_t>(*width) * *height * 3, 0);
    inks->assign(cmyk ? static_cast<std::size_t>(*width) * 4 : 0, 0);
    while (info.output_scanline < info.output_height) {
        unsigned char* target = &(*rgb)[static_cast<std::size_t>(info.output_scanline) * *width * 3];
        JSAMPROW row = cmyk ? inks->data() : target;
        jpeg_read_scanlines(&info, &row, 1);
        for (int x = 0; cmyk && x < *width; ++x) {
            const unsigned char* ink = &(*inks)[static_cast<std::size_t>(x) * 4];
            for (int c = 0; c < 3; ++c)
                target[3 * x + c] = static_cast<unsigned char>(
                    inverted ? ink[c] * ink[3] / 255 : (255 - ink[c]) * (255 - ink[3]) / 255);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool DecodeJpeg(const std::vector<unsigned char>& file, PicturePixels* pixels, std::string* why) {
    std::vector<unsigned char> rgb, inks;
    int width = 0, height = 0;
    if (!DecodeJpegRows(file, &rgb, &inks, &width, &height, why)) return false;
    if (!SizeAllowed(width, height, why)) return false;
    pixels->width = width;
    pixels->height = height;
    pixels->colours.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels->colours.size(); ++i)
        pixels->colours[i] = static_cast<std::uint32_t>(rgb[3 * i]) << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    return true;
}

struct GifSource {
    const std::vector<unsigned char>* file;
    std::size_t at = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* into, int wanted) {
    GifSource* source = static_cast<GifSource*>(gif->UserData);
    std::size_t left = source->file->size() - source->at;
    std::size_t count = std::min(left, static_cast<std::size_t>(wanted));
    std::copy_n(source->file->data() + source->at, count, into);
    source->at += count;
    return static_cast<int>(count);
}

// The first image of the file, over the logical screen's background.
bool DecodeGif(const std::vector<unsigned char>& file, std::uint32_t matte, PicturePixels* pixels,
               std::string* why) {
    GifSource source{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGifBytes, &error);
    if (!gif) {
        *why = std::string("giflib: ") + GifErrorString(error);
        return false;
    }
    bool good = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0;
    if (!good) *why = std::string("giflib: ") + (GifErrorString(gif->Error) ? GifErrorString(gif->Error) : "no image");
    if (good) good = SizeAllowed(gif->SWidth, gif->SHeight, why);
    if (good) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, 0, &control);
        pixels->width = gif->SWidth;
        pixels->height = gif->SHeight;
        pixels->colours.assign(static_cast<std::size_t>(gif->SWidth) * gif->SHeight, matte);
        const GifImageDesc& place = image.ImageDesc;
        for (int y = 0; y < place.Height && map; ++y) {
            for (int x = 0; x < place.Width; ++x) {
                int index = image.RasterBits[static_cast<std::size_t>(y) * place.Width + x];
                int tx = place.Left + x, ty = place.Top + y;
                if (index == control.TransparentColor || index >= map->ColorCount || tx >= gif->SWidth ||
                    ty >= gif->SHeight)
                    continue;
                const GifColorType& colour = map->Colors[index];
                pixels->colours[static_cast<std::size_t>(ty) * gif->SWidth + tx] =
                    static_cast<std::uint32_t>(colour.Red) << 16 | colour.Green << 8 | colour.Blue;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return good;
}

}  // namespace

std::string PictureFormat(const std::vector<unsigned char>& file) {
    auto starts = [&](const char* magic, std::size_t length) {
        return file.size() >= length &&
               std::equal(magic, magic + length, file.begin(),
                          [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
    };
    if (starts("\x89PNG\r\n\x1a\n", 8)) return "PNG";
    if (starts("\xFF\xD8\xFF", 3)) return "JPEG";
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return "GIF";
    if (starts("BM", 2)) return "BMP";
    return "";
}

bool DecodePictureFile(const std::vector<unsigned char>& file, std::uint32_t matte, PicturePixels* pixels,
                       std::string* why) {
    const std::string format = PictureFormat(file);
    *pixels = PicturePixels();
    if (format == "PNG") return DecodePng(file, matte, pixels, why);
    if (format == "JPEG") return DecodeJpeg(file, pixels, why);
    if (format == "GIF") return DecodeGif(file, matte, pixels, why);
    if (format == "BMP") return DecodePicture(file, pixels, why);
    *why = "it is no PNG, JPEG, GIF or BMP picture";
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
