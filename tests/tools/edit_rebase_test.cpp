#include "design/edit_rebase.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "design/line_diff.h"

namespace {

using Lines = std::vector<std::string>;

// Per line of `before`: "k3" kept as line 3, "b2" changed into line 2, "-" deleted.
std::string Matches(const Lines& before, const Lines& after) {
    std::string out;
    for (const LineMatch& match : MatchLines(before, after)) {
        out += (out.empty() ? "" : " ") +
               (match.kept ? "k" + std::to_string(match.kept) : match.becomes ? "b" + std::to_string(match.becomes) : "-");
    }
    return out;
}

TEST(LineDiff, MatchesTheLinesThatStayed) {
    const struct {
        const char* what;
        Lines before, after;
        std::string matches;
    } cases[] = {
        {"nothing changed", {"a", "b", "c"}, {"a", "b", "c"}, "k1 k2 k3"},
        {"a line put first", {"a", "b"}, {"x", "a", "b"}, "k2 k3"},
        {"a line changed", {"a", "b", "c"}, {"a", "B", "c"}, "k1 b2 k3"},
        {"a line deleted", {"a", "b", "c"}, {"a", "c"}, "k1 - k2"},
        {"two lines into one", {"a", "b", "c", "d"}, {"a", "X", "d"}, "k1 b2 - k3"},
        {"a blank line added among blank lines", {"a", "", "b", "", "c"}, {"a", "", "b", "", "", "c"}, "k1 k2 k3 k4 k6"},
        {"everything different", {"a", "b"}, {"x", "y", "z"}, "b1 b2"},
        {"all lines deleted", {"a", "b"}, {}, "- -"},
        {"changes at both ends", {"a", "b", "c", "d"}, {"A", "b", "c", "D", "e"}, "b1 k2 k3 b4"},
        {"two lines swapped: one is kept", {"a", "b", "c"}, {"b", "a", "c"}, "- k1 k3"},
    };
    for (const auto& test : cases) EXPECT_EQ(Matches(test.before, test.after), test.matches) << test.what;
}

// The kept lines are equal, in order, and as many as a longest common
// subsequence holds, for random texts of a few distinct lines.
TEST(LineDiff, KeepsALongestCommonSubsequence) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        Lines a(random() % 14), b(random() % 14);
        for (Lines* text : {&a, &b}) {
            for (std::string& line : *text) line = std::string(1, static_cast<char>('a' + random() % 4));
        }
        std::vector<std::vector<int>> longest(a.size() + 1, std::vector<int>(b.size() + 1, 0));
        for (std::size_t i = a.size(); i-- > 0;) {
            for (std::size_t j = b.size(); j-- > 0;) {
                longest[i][j] = a[i] == b[j] ? longest[i + 1][j + 1] + 1 : std::max(longest[i + 1][j], longest[i][j + 1]);
            }
        }
        int kept = 0, last = 0;
        std::vector<LineMatch> matches = MatchLines(a, b);
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!matches[i].kept) continue;
            EXPECT_TRUE(matches[i].kept > last && b[static_cast<std::size_t>(matches[i].kept - 1)] == a[i]) << round;
            last = matches[i].kept;
            ++kept;
        }
        EXPECT_EQ(kept, longest[0][0]) << "round " << round;
    }
}

TEST(LineDiff, TooManyChangesCountTheMiddleAsChanged) {
    Lines before = {"start"}, after = {"start"};
    for (int i = 0; i < kMostDiffedChanges; ++i) before.push_back("old" + std::to_string(i));
    for (int i = 0; i < kMostDiffedChanges; ++i) after.push_back("new" + std::to_string(i));
    before.push_back("same");  // in both, but beyond the bound
    after.insert(after.begin() + 3, "same");
    before.push_back("end");
    after.push_back("end");
    std::vector<LineMatch> matches = MatchLines(before, after);
    EXPECT_EQ(matches.front().kept, 1);
    EXPECT_EQ(matches.back().kept, static_cast<int>(after.size()));
    EXPECT_EQ(matches[before.size() - 2].kept, 0);
}

const Lines kBase = {"[BUTTON]", "BUTTON1=PUSHBUTTON,40,146", "BUTTON2=PUSHBUTTON,40,200", "[TEXT]", "TEXT1=Hi,1"};

// Edits in short, each word one edit: "f3" a field of line 3, "d4" line 4
// deleted, "a2" a new entry after line 2 ("a0" at the end), "s" one at the
// start; a conflict is "!f2>3": a field edit of line 2, which became line 3.
ScriptEdits EditsOf(const std::string& words) {
    ScriptEdits edits;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const int line = word.size() > 1 ? std::stoi(word.substr(1)) : 0;
        if (word[0] == 'f') edits.fields[line][2] = "60";
        if (word[0] == 'd') edits.deletedLines.insert(line);
        if (word[0] == 'a' || word[0] == 's') edits.added.push_back({line, "", "T=1", {}, false, word[0] == 's', -1});
    }
    return edits;
}

std::string Summary(const RebasedEdits& rebased) {
    std::string out;
    auto add = [&](const std::string& word) { out += (out.empty() ? "" : " ") + word; };
    for (const auto& [line, fields] : rebased.edits.fields) add("f" + std::to_string(line));
    for (int line : rebased.edits.deletedLines) add("d" + std::to_string(line));
    for (const NewEntry& entry : rebased.edits.added) add(entry.atStart ? "s" : "a" + std::to_string(entry.afterLine));
    for (const RebaseConflict& conflict : rebased.conflicts) {
        add(std::string("!") + (conflict.deleted ? "d" : "f") + std::to_string(conflict.line) + ">" +
            std::to_string(conflict.theirLine));
    }
    return out;
}

// kBase with `erased` lines from index `at` replaced by `inserted`.
Lines Theirs(std::size_t at, std::size_t erased, Lines inserted) {
    Lines lines = kBase;
    lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(at + erased));
    lines.insert(lines.begin() + static_cast<long>(at), inserted.begin(), inserted.end());
    return lines;
}

TEST(EditRebase, CarriesEditsOfLinesNobodyElseChanged) {
    const struct {
        const char* what;
        const char* mine;
        Lines theirs;
        const char* rebased;
    } cases[] = {
        {"a field, a line appended on disk", "f2", Theirs(5, 0, {"TEXT2=x"}), "f2"},
        {"a field, a line put above it", "f3", Theirs(1, 0, {"; note"}), "f4"},
        {"a field, a line above it deleted", "f3", Theirs(1, 1, {}), "f2"},
        {"a field of a line they changed", "f2", Theirs(1, 1, {"BUTTON1=PUSHBUTTON,9,1"}), "!f2>2"},
        {"a field of a line they deleted", "f2", Theirs(1, 1, {}), "!f2>0"},
        {"a field beside their change", "f3", Theirs(1, 1, {"BUTTON1=PUSHBUTTON,9,1"}), "f3"},
        {"a deletion, a line put above it", "d5", Theirs(0, 0, {"; top"}), "d6"},
        {"a deletion of a line they changed", "d5", Theirs(4, 1, {"TEXT1=Hello,1"}), "!d5>5"},
        {"a deletion of a line they deleted too", "d5", Theirs(4, 1, {}), ""},
        {"a new entry after a kept line", "a3", Theirs(0, 0, {"; top"}), "a4"},
        {"a new entry after a line they changed", "a3", Theirs(2, 1, {"BUTTON2=PUSHBUTTON,1,2"}), "a3"},
        {"a new entry after a line they deleted", "a3", Theirs(2, 1, {}), "a2"},
        {"a new entry after a first line they deleted", "a1", Theirs(0, 1, {}), "s"},
        {"new entries at the end and the start stay there", "a0 s", Theirs(0, 0, {"; top"}), "a0 s"},
        {"conflicts come in line order", "f5 d2", Theirs(1, 4, {"W", "X", "Y", "Z"}), "!d2>2 !f5>5"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Summary(RebaseEdits(EditsOf(test.mine), kBase, test.theirs)), test.rebased) << test.what;
    }
}

}  // namespace
