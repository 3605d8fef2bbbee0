#pragma once
// `discscreen check [--script NAME] [--codepage N] [--read-budget MS] PATH`:
// the script read as the program reads it on every system it names, one
// finding a line, and what the drive reads before the screen appears.
int RunCheck(int argc, char** argv);
