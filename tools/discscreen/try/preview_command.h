#pragma once
// `discscreen preview DISC -o OUT.png`: the screen as the built program shows
// it under Wine, for a chosen system language and Windows version; with
// --states a contact sheet of the screen at rest and every button
// highlighted. The Wine side is preview.sh beside this file.
int RunPreview(int argc, char** argv);
