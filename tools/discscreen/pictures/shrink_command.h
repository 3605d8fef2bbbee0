#pragma once
// `discscreen shrink DISC [-o OUT | --in-place] [--colours N [--dither]]`:
// the pictures the disc's script names, made as small as the program can
// draw them (picture_shrink.h), and what the drive reads before the screen
// appears, before and after. Without -o or --in-place nothing is written.
int RunShrink(int argc, char** argv);
