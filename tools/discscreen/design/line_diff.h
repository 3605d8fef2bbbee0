#pragma once
// Which lines of a text are still there, unchanged, in a later version of
// it: the longest common subsequence of their lines (Myers' difference),
// after the lines both versions start and end with. Lines that are not kept
// are paired, in order, with the new lines that took their place between
// the same kept lines; the rest of them were deleted.
#include <vector>
#include <string>

struct LineMatch {
    int kept = 0;     // the line's number in the new text when it is there unchanged, else 0
    int becomes = 0;  // when not kept: the new line written in its place, 0 when none
};

// Differences beyond this many lines are not worked out line by line: the
// lines between the common start and end all count as changed, so that the
// work stays bounded (time by the lines times this, memory by its square).
constexpr int kMostDiffedChanges = 2000;

// One match per line of `before` (line n at index n - 1).
std::vector<LineMatch> MatchLines(const std::vector<std::string>& before, const std::vector<std::string>& after);
