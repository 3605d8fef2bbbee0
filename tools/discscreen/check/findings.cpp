#include "check/findings.h"

#include <set>

namespace {

const char* SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::kError: return "error";
        case Severity::kWarning: return "warning";
        default: return "note";
    }
}

}  // namespace

void Report::Add(const Finding& finding) { findings_.push_back(finding); }

void Report::AddIfEveryReading(const Finding& finding) {
    auto key = std::make_tuple(finding.line, finding.column, finding.name);
    auto found = everyReading_.find(key);
    if (found == everyReading_.end()) {
        everyReading_.emplace(key, std::make_pair(finding, 1));
    } else {
        ++found->second.second;
    }
}

void PrintFinding(std::ostream& out, const std::string& file, const Finding& finding) {
    out << (finding.file.empty() ? file : finding.file) << ':' << finding.line << ':' << finding.column << ": " << SeverityWord(finding.severity)
        << ": " << finding.message << " [" << finding.name << "]\n";
}

std::vector<Finding> Report::Sorted() const {
    // Findings of one place and kind from different readings say the same
    // thing, perhaps for another system: the first reading's words stand.
    std::map<std::tuple<std::string, int, int, Severity, std::string, std::string>, Finding> unique;
    for (const Finding& finding : findings_) {
        unique.emplace(std::make_tuple(finding.file, finding.line, finding.column, finding.severity, finding.name,
                                       finding.ofOneSystem ? finding.message : std::string()),
                       finding);
    }
    for (const auto& entry : everyReading_) {
        const Finding& finding = entry.second.first;
        auto readings = readings_.find(finding.line);
        if (readings != readings_.end() && entry.second.second >= readings->second) {
            unique.emplace(std::make_tuple(finding.file, finding.line, finding.column, finding.severity,
                                           finding.name, std::string()),
                           finding);
        }
    }
    std::set<Finding> sorted;
    for (const auto& entry : unique) sorted.insert(entry.second);
    return std::vector<Finding>(sorted.begin(), sorted.end());
}

int Report::Print(std::ostream& out, const std::string& file) const {
    int errors = 0;
    for (const Finding& finding : Sorted()) {
        PrintFinding(out, file, finding);
        if (finding.severity == Severity::kError) ++errors;
    }
    return errors;
}
