#pragma once
// The findings of a check, printed one a line in the form that editors and
// CI jump to: FILE:LINE:COLUMN: error|warning|note: message [name].
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

enum class Severity { kError, kWarning, kNote };

struct Finding {
    int line = 1;
    int column = 1;
    Severity severity = Severity::kError;
    std::string message;
    std::string name;
    // Said of one system (a language, a Windows version): the same finding
    // for another system is another line.
    bool ofOneSystem = false;
    // Said of another file than the script (Windows' own AUTORUN.INF beside a
    // renamed script): that file's path; empty for the script.
    std::string file;

    bool operator<(const Finding& other) const {
        return std::tie(file, line, column, severity, name, message) <
               std::tie(other.file, other.line, other.column, other.severity, other.name, other.message);
    }
};

// Collects findings over every reading of the script. Most findings hold as
// soon as one reading shows them; a few (a text nothing names, an entry the
// first one overrides) hold only when every reading that took the line shows
// them, because a language's own section may use what another one leaves.
// One finding in the form above.
void PrintFinding(std::ostream& out, const std::string& file, const Finding& finding);

class Report {
public:
    void Add(const Finding& finding);
    // A finding that holds only if every reading that took `finding.line`
    // gives it.
    void AddIfEveryReading(const Finding& finding);
    // One reading took this line to its section's handler.
    void CountReading(int line) { ++readings_[line]; }

    // The findings sorted by place, each once.
    std::vector<Finding> Sorted() const;
    // Prints the findings sorted by place, each once; returns the errors.
    int Print(std::ostream& out, const std::string& file) const;

private:
    std::vector<Finding> findings_;
    std::map<std::tuple<int, int, std::string>, std::pair<Finding, int>> everyReading_;
    std::map<int, int> readings_;
};
