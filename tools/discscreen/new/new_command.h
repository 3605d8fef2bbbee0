#pragma once
// `discscreen new DISC [--title TEXT] [--style NAME]`: a screen for a folder
// of a product's files that has no script yet: its installers and
// documents found and named, the screen laid out and drawn in a style, the
// script written, and the program's three files copied beside it. Nothing
// that is in the folder is ever overwritten.
int RunNew(int argc, char** argv);
