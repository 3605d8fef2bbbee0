#pragma once
// Edits applied to the bytes of an author's script, touching nothing but
// what was edited: every other byte (comments, blank lines, order, letter
// case, line ends, unknown lines, the UTF-8 mark) stays as written.
//
// Lines are numbered from 1 as the reader numbers them. A value is a list
// of fields cut at runs of commas; field n is the n-th run of other bytes.
// Only the bytes of an edited field are replaced, so the fields around it
// keep their spaces and their text.
#include <map>
#include <set>
#include <string>
#include <vector>

// Which part of an entry line an edit replaces.
constexpr int kWholeValue = 0;  // everything after the first "=" (message texts)
constexpr int kEntryKey = -1;   // the name before "=" ("BUTTON3"), for renumbering

struct NewEntry {
    int afterLine = 0;     // 0: at the very end
    std::string header;    // a section header to open first ("[BUTTON]"), or empty
    std::string text;      // "BUTTON9=PUSHBUTTON,10,10"; empty for a header alone
    std::map<int, std::string> fields;  // edits made since, as for a line
    bool deleted = false;  // kept in the list so that later entries keep their index
    bool atStart = false;  // before the first line instead
    int before = -1;       // right before new entry `before` (and its header) instead
};

struct ScriptEdits {
    // line -> field (1-based, or kWholeValue / kEntryKey) -> new text
    std::map<int, std::map<int, std::string>> fields;
    std::set<int> deletedLines;
    std::vector<NewEntry> added;

    bool Empty() const { return fields.empty() && deletedLines.empty() && added.empty(); }
};

// The script with the edits made; false with `problem` set when an edit
// cannot be written so that the reader reads it back as meant (a comma in a
// field, a line break in a value, a line that holds no entry).
// `origins`, when given, gets for each line of the result the line it came
// from, -(i + 1) for the i-th new entry (a header alone too), or 0 for the
// header of a new entry.
bool RewriteScript(const std::string& bytes, const ScriptEdits& edits, std::string* result,
                   std::string* problem, std::vector<int>* origins = nullptr);

// The lines' texts without their line ends (and without the UTF-8 mark).
std::vector<std::string> ScriptLineTexts(const std::string& bytes);
// The fields of the value after the first "=" of an entry line, as written.
std::vector<std::string> EntryFields(const std::string& line);
