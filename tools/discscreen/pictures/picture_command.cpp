#include "pictures/picture_command.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "pictures/frame_strip.h"
#include "pictures/picture_bitmap.h"
#include "pictures/picture_files.h"

namespace {

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen picture IN... -o OUT.BMP [--colours N [--dither]] [--make-states]\n"
                 "  IN   PNG, JPEG, GIF or BMP pictures: one, or two to four frames of a button\n"
                 "       (normal, pressed, highlighted, disabled; the missing ones are made)\n"
                 "  --colours N    at most N colours (2 to 256), for photos; exact otherwise\n"
                 "  --dither       spread the colours' error (with --colours)\n"
                 "  --make-states  one picture becomes a strip: its pressed, highlighted and disabled frames made\n"
                 "  --matte RRGGBB the colour behind transparent pixels (default FFFFFF)\n";
    return 2;
}

struct PictureRequest {
    std::vector<std::string> inputs;
    std::string out;
    std::size_t colours = 0;
    bool dither = false, makeStates = false;
    std::uint32_t matte = kWhiteMatte;
};

std::string ParseRequest(int argc, char** argv, PictureRequest* request) {
    for (int i = 0; i < argc; ++i) {
        const std::string word = argv[i];
        const bool valued = word == "-o" || word == "--colours" || word == "--matte";
        if (valued && i + 1 >= argc) return word + " needs a value";
        if (word == "-o") {
            request->out = argv[++i];
        } else if (word == "--colours") {
            const std::string value = argv[++i];
            char* end = nullptr;
            long count = std::strtol(value.c_str(), &end, 10);
            if (*end || count < 2 || count > 256) return "--colours takes 2 to 256, not '" + value + "'";
            request->colours = static_cast<std::size_t>(count);
        } else if (word == "--matte") {
            const std::string value = argv[++i];
            char* end = nullptr;
            unsigned long colour = std::strtoul(value.c_str(), &end, 16);
            if (*end || value.size() != 6) return "--matte takes RRGGBB, not '" + value + "'";
            request->matte = static_cast<std::uint32_t>(colour);
        } else if (word == "--dither") {
            request->dither = true;
        } else if (word == "--make-states") {
            request->makeStates = true;
        } else if (!word.empty() && word[0] == '-') {
            return "unknown option '" + word + "'";
        } else {
            request->inputs.push_back(word);
        }
    }
    if (request->inputs.empty()) return "no picture given";
    if (request->out.empty()) return "no -o OUT.BMP";
    if (request->inputs.size() > 4) return "at most four pictures make a strip";
    if (request->dither && request->colours == 0) return "--dither goes with --colours";
    if (request->makeStates && request->inputs.size() != 1) return "--make-states makes a strip of one picture";
    return "";
}

}  // namespace

int RunPicture(int argc, char** argv) {
    PictureRequest request;
    std::string problem = ParseRequest(argc, argv, &request);
    if (!problem.empty()) return Usage(problem);

    std::vector<PicturePixels> frames;
    for (const std::string& input : request.inputs) {
        std::vector<unsigned char> file;
        std::string why;
        frames.emplace_back();
        if (!ReadWholeFile(input, &file)) why = "it cannot be read";
        if (why.empty() && !DecodePictureFile(file, request.matte, &frames.back(), &why)) {}
        if (!why.empty()) {
            std::cerr << "discscreen: " << input << ": " << why << "\n";
            return 1;
        }
    }
    PicturePixels picture = frames[0];
    if (frames.size() > 1 || request.makeStates) {
        std::string why;
        if (!JoinFrames(frames, &picture, &why)) {
            std::cerr << "discscreen: no strip: " << why << "\n";
            return 1;
        }
    }
    std::string how;
    std::vector<unsigned char> bytes = ProgramBitmap(picture, request.colours, request.dither, &how);
    std::ofstream out(request.out, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !out.flush()) {
        std::cerr << "discscreen: cannot write " << request.out << "\n";
        return 2;
    }
    std::cout << "wrote " << request.out << ": " << picture.width << "x" << picture.height;
    if (picture.width != frames[0].width) std::cout << " (four frames of " << frames[0].width << "x" << frames[0].height << ")";
    std::cout << ", " << how << ", " << bytes.size() << " bytes\n";
    return 0;
}
