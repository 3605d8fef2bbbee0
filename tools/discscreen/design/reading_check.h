#pragma once
// Whether the reader reads an edited script back as the page meant it: the
// edited text is read with the program's own reader and compared, line by
// line, with the reading of the text the edits were made against. Every
// line no edit named must be read exactly as before (seen or not, header or
// entry, in the same section, the same text); every edited or new line must
// be read whole, as written, and as the kind of line it was meant to be.
// This is what refuses a Ctrl-Z (the reader stops there), a key or a new
// entry that reads as a section header, and a text that turns the whole
// script from its code page into UTF-8.
#include <string>
#include <vector>

#include "design/script_rewrite.h"
#include "reading/screen_reading.h"

struct ReadBackCheck {
    ScriptTarget target;      // scriptPath: where the reader reads the texts (overwritten)
    TargetSystem system;
    std::string base;         // the text the edits were made against
    std::string result;       // the text with the edits
    std::vector<int> origins; // per line of result, as RewriteScript gives them
    const ScriptEdits* edits = nullptr;
    bool writtenAsUtf8 = false;  // the page's texts went in as UTF-8, not in the code page
};

class ScratchScript;

// Empty when the result reads back as meant, else why not.
std::string ReadBackProblem(const ReadBackCheck& check, ScratchScript& scratch);
