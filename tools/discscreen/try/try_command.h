#pragma once
// discscreen try DISC [--lang CODE] [--windows NAME] [--port N] [--minutes N] [--no-browser]
int RunTry(int argc, char** argv);
