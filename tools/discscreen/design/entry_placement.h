#pragma once
// Where a new entry goes so that the program reads it as meant, by the
// reader's own rules: nothing before the first [BEGIN] is read and nothing
// after [END]; a text must come before the buttons that name it (a tagged
// one before an untagged one for the same number, the first counting); a
// button before the entries of its own sections and after the text it
// names; and an entry for a language or a Windows version inside a section
// of exactly those tags.
#include <string>
#include <vector>

class Machine;

// One line of a script as the reader cuts it.
struct LaidLine {
    bool blank = true;
    bool header = false;   // "[" first, with a "]"
    std::string section;   // a header's own section, else the one the line is in
    std::string selector;  // the tags of a header that the reader acts on, in its table's order
    std::string name;      // an entry's name and number ("BUTTON", 3)
    int number = 0;
    int namesText = 0;     // the text a [BUTTON] entry's caption or an [EXTRATEXT] entry names
};

// The tags the reader acts on in a header's selector, in the table's order:
// other words there ("[TEXT] captions", "[BEGIN] ; settings") choose no
// system, and tags in another order or spacing choose the same ones.
std::string ReadTags(const std::string& selector);

std::vector<LaidLine> LayOutScript(Machine& machine, const std::vector<std::string>& lines);

struct PlacementRequest {
    std::string section;   // "[TEXT]"
    std::string selector;  // "" or "[GER]"
    int number = 0;        // the entry's number; for a button's own section, the button's
    int captionText = 0;   // a new button's caption, which must come before it
};

// A place before line `beforeLine` (1 to the line count + 1), opening
// `header` there when it is not empty.
struct NewPlace {
    int beforeLine = 1;
    std::string header;
};

// The places of the lines to add for the request: a [BEGIN] header alone
// first when no untagged one is there, then the entry's own.
std::vector<NewPlace> PlaceNewEntry(const std::vector<LaidLine>& lines, const PlacementRequest& request);

// The same place among the edits that made the text (script_rewrite.h's
// NewEntry): `origins` gives each line's origin as RewriteScript does.
struct NewEntryAnchor {
    int afterLine = 0;  // 0: at the very end
    bool atStart = false;
    int before = -1;
};
NewEntryAnchor AnchorOf(int beforeLine, const std::vector<int>& origins);
