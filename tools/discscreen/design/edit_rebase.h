#pragma once
// A page's edits carried from the text they were made on to a newer text
// of the script (written by someone else meanwhile), line by line: an edit
// of a line the other writer left as it was moves with that line; an edit
// of a line they changed or deleted is not carried but given back as a
// conflict, so that their line stays and the author decides. New entries
// keep their places: after the same line, or after the new text of a line
// that was changed, or after the nearest kept line before one that was
// deleted.
#include <map>
#include <string>
#include <vector>

#include "design/script_rewrite.h"

struct RebaseConflict {
    int line = 0;       // in the text the edits were made on
    int theirLine = 0;  // the line the other writer wrote in its place, 0 when they deleted it
    bool deleted = false;              // the author deleted the line
    std::map<int, std::string> fields;  // else the author's field edits of it
};

struct RebasedEdits {
    ScriptEdits edits;  // addressed by line within the newer text
    std::vector<RebaseConflict> conflicts;
};

// `edits` address lines of `before` (each line from 1 to its size);
// `after` is the newer text's lines.
RebasedEdits RebaseEdits(const ScriptEdits& edits, const std::vector<std::string>& before,
                         const std::vector<std::string>& after);
