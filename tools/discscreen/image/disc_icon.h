#pragma once
// The disc's icon, AUTORUN.ICO, made from the screen's background picture:
// its middle square at 32 and 16 pixels, 256 colours (pictures/icon_writer.h).
// Without a picture that decodes, a plain icon in the tool's own blue.
#include <string>
#include <vector>

// `picturePath` on this machine, or "".
std::vector<unsigned char> MakeDiscIcon(const std::string& picturePath);
// The same from a picture file's bytes (empty: the plain icon).
std::vector<unsigned char> DiscIconOf(const std::vector<unsigned char>& pictureFile);
