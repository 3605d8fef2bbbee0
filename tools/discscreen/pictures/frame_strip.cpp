#include "pictures/frame_strip.h"

#include <algorithm>

namespace {

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

std::uint32_t Colour(int red, int green, int blue) {
    auto clamp = [](int value) { return static_cast<std::uint32_t>(std::min(255, std::max(0, value))); };
    return clamp(red) << 16 | clamp(green) << 8 | clamp(blue);
}

std::uint32_t Changed(std::uint32_t colour, FrameState state) {
    const int red = Channel(colour, 16), green = Channel(colour, 8), blue = Channel(colour, 0);
    switch (state) {
        case FrameState::kHighlight:  // a quarter of the way to white
            return Colour(red + (255 - red) / 4, green + (255 - green) / 4, blue + (255 - blue) / 4);
        case FrameState::kPressed:  // a little darker
            return Colour(red * 85 / 100, green * 85 / 100, blue * 85 / 100);
        case FrameState::kDisabled: {  // grey, of half the contrast
            const int grey = (red * 30 + green * 59 + blue * 11) / 100;
            return Colour(grey / 2 + 64, grey / 2 + 64, grey / 2 + 64);
        }
    }
    return colour;
}

}  // namespace

PicturePixels MadeFrame(const PicturePixels& normal, FrameState state) {
    PicturePixels made = normal;
    if (normal.colours.empty()) return made;
    const std::uint32_t behind = normal.colours[0];
    // A pressed button sinks one pixel to the bottom right.
    const int shift = state == FrameState::kPressed ? 1 : 0;
    for (int y = 0; y < normal.height; ++y) {
        for (int x = 0; x < normal.width; ++x) {
            const int fromX = std::max(0, x - shift), fromY = std::max(0, y - shift);
            std::uint32_t colour = normal.colours[static_cast<std::size_t>(fromY) * normal.width + fromX];
            made.colours[static_cast<std::size_t>(y) * normal.width + x] =
                colour == behind ? behind : Changed(colour, state);
        }
    }
    return made;
}

bool JoinFrames(const std::vector<PicturePixels>& frames, PicturePixels* strip, std::string* why) {
    if (frames.empty() || frames.size() > 4) {
        *why = "a strip is joined from one to four pictures";
        return false;
    }
    const PicturePixels& first = frames[0];
    for (const PicturePixels& frame : frames) {
        if (frame.width != first.width || frame.height != first.height) {
            *why = "the frames differ in size (" + std::to_string(first.width) + "x" + std::to_string(first.height) +
                   " and " + std::to_string(frame.width) + "x" + std::to_string(frame.height) + ")";
            return false;
        }
    }
    std::vector<PicturePixels> all = frames;
    for (int state = static_cast<int>(all.size()); state < 4; ++state)
        all.push_back(MadeFrame(first, static_cast<FrameState>(state)));
    *strip = first;
    strip->width = 4 * first.width;
    strip->colours.assign(static_cast<std::size_t>(strip->width) * first.height, 0);
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < first.height; ++y) {
            std::copy_n(&all[frame].colours[static_cast<std::size_t>(y) * first.width], first.width,
                        &strip->colours[static_cast<std::size_t>(y) * strip->width + frame * first.width]);
        }
    }
    return true;
}
