#pragma once
// `discscreen picture IN... -o OUT.BMP [--colours N [--dither]] [--make-states]`:
// PNG, JPEG, GIF or BMP pictures turned into the bitmap the program reads,
// exact where it can be; two to four pictures (or one with --make-states)
// joined into a button's strip of four frames.
int RunPicture(int argc, char** argv);
