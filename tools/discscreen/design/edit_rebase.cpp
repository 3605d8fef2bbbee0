#include "design/edit_rebase.h"

#include <algorithm>

#include "design/line_diff.h"

namespace {

// Where a new entry placed after `line` goes in the newer text: after the
// same line, after what it was changed into, or after the nearest kept line
// before it; false when no line before it is left (the entry then opens the
// text).
bool AnchorIn(const std::vector<LineMatch>& matches, int line, int* anchor) {
    const LineMatch& match = matches[static_cast<std::size_t>(line - 1)];
    if (match.kept || match.becomes) {
        *anchor = match.kept ? match.kept : match.becomes;
        return true;
    }
    for (int earlier = line - 1; earlier >= 1; --earlier) {
        if (int kept = matches[static_cast<std::size_t>(earlier - 1)].kept) {
            *anchor = kept;
            return true;
        }
    }
    return false;
}

}  // namespace

RebasedEdits RebaseEdits(const ScriptEdits& edits, const std::vector<std::string>& before,
                         const std::vector<std::string>& after) {
    const std::vector<LineMatch> matches = MatchLines(before, after);
    auto matchOf = [&](int line) { return matches.at(static_cast<std::size_t>(line - 1)); };
    RebasedEdits rebased;
    for (const auto& [line, fields] : edits.fields) {
        const LineMatch match = matchOf(line);
        if (match.kept) rebased.edits.fields[match.kept] = fields;
        else rebased.conflicts.push_back({line, match.becomes, false, fields});
    }
    for (int line : edits.deletedLines) {
        const LineMatch match = matchOf(line);
        if (match.kept) rebased.edits.deletedLines.insert(match.kept);
        // Deleted on both sides is what both meant.
        else if (match.becomes) rebased.conflicts.push_back({line, match.becomes, true, {}});
    }
    for (NewEntry entry : edits.added) {
        if (!entry.atStart && entry.afterLine != 0) {
            int anchor = 0;
            if (AnchorIn(matches, entry.afterLine, &anchor)) {
                entry.afterLine = anchor;
            } else {
                entry.afterLine = 0;
                entry.atStart = true;
            }
        }
        rebased.edits.added.push_back(std::move(entry));
    }
    std::stable_sort(rebased.conflicts.begin(), rebased.conflicts.end(),
                     [](const RebaseConflict& one, const RebaseConflict& other) { return one.line < other.line; });
    return rebased;
}
