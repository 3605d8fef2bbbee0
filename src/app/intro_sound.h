#pragma once
// The sound the screen plays when it appears.
#include <string>

class Machine;

struct IntroSound {
    std::string file;  // absolute; empty when the script names none
    int seconds = 0;
};
// The intro sound's value: a file name, then optionally "," and seconds.
IntroSound SplitIntroSound(Machine& machine, const std::string& value);
