#pragma once
// `discscreen design DISC [--port N] [--no-browser]`: the screen drawn and
// edited in a browser, served on 127.0.0.1 until Ctrl-C. The page is in the
// designer folder beside this file.
int RunDesign(int argc, char** argv);
