#pragma once
// A button's strip of four frames side by side (normal, pressed,
// highlighted, disabled) joined from separate pictures, and the frames an
// author did not draw made from the normal one. The normal frame's corner
// colour counts as the screen behind the button and is kept in every made
// frame, since the program draws a button without transparency.
#include <string>
#include <vector>

#include "pictures/picture_pixels.h"

enum class FrameState { kPressed = 1, kHighlight = 2, kDisabled = 3 };

PicturePixels MadeFrame(const PicturePixels& normal, FrameState state);

// One to four frames of one size; the missing ones are made. False, with
// why, when the sizes differ.
bool JoinFrames(const std::vector<PicturePixels>& frames, PicturePixels* strip, std::string* why);
