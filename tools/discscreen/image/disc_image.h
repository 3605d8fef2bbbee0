#pragma once
// `discscreen image DISC -o DISC.ISO [--label NAME]`: the disc folder as an
// ISO 9660 image with Joliet and Rock Ridge names, made with xorriso. A
// script with errors is refused; names the image cannot hold and files the
// script names that are missing are warned about; a script without an
// [autorun] section gets one in the image's copy, so that Windows starts
// the program when the disc is put in.
#include <string>

int RunImage(int argc, char** argv);

// The volume label made of a text: upper case, every run of characters
// outside A-Z, 0-9 and _ as one '_', at most 32 characters.
std::string VolumeLabel(const std::string& text);
