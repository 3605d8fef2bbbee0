#include "check/read_budget.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/intro_sound.h"
#include "app/wait_library_name.h"

namespace {

std::string Grouped(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

std::string Kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string FileList(const std::vector<ReadFile>& files) {
    std::string list;
    for (const ReadFile& file : files) list += (list.empty() ? "" : ", ") + file.name + " " + Kilobytes(file.bytes);
    return list;
}

bool SameFiles(const std::vector<ReadFile>& a, const std::vector<ReadFile>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ReadFile& x, const ReadFile& y) {
        return x.name == y.name && x.bytes == y.bytes;
    });
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

}  // namespace

std::uint64_t ReadSet::Bytes() const {
    std::uint64_t total = 0;
    for (const ReadFile& file : files) total += file.bytes;
    return total;
}

std::string ReadTimeText(const ReadSet& set) {
    return Grouped(set.Bytes()) + " bytes, " + Seconds(set.SecondsAt(4)) + " at 4x";
}

ReadSet LargestReadSet(const std::vector<ReadSet>& sets) {
    ReadSet largest;
    for (const ReadSet& set : sets) {
        if (set.Bytes() > largest.Bytes()) largest = set;
    }
    return largest;
}

void ReadBudget::AddFile(const std::string& windowsPath, std::vector<ReadFile>& files) const {
    DiscFile file = disc_.Find(windowsPath);
    struct stat info;
    if (!file.found || file.directory || ::stat(file.localPath.c_str(), &info) != 0) return;
    auto size = sizes_.find(file.localPath);
    files.push_back({file.discName, size != sizes_.end() ? size->second : static_cast<std::uint64_t>(info.st_size)});
}

void ReadBudget::OnSystemRead(const SystemReading& reading) {
    // A screen that starts a chain or resumes one never appears.
    if (reading.screen.autoRun || reading.screen.resumed) {
        ++screenless_;
        return;
    }
    Reads reads{reading.description, reading.windowsVersion, {}};
    AddFile(kDiscRoot + programName_ + ".EXE", reads.files);
    struct stat info;
    std::string scriptName = scriptName_.empty() ? scriptPath_.substr(scriptPath_.find_last_of('/') + 1) : scriptName_;
    if (::stat(scriptPath_.c_str(), &info) == 0)
        reads.files.push_back({scriptName, static_cast<std::uint64_t>(info.st_size)});
    if (!reading.host.backgroundPath.empty()) AddFile(reading.host.backgroundPath, reads.files);
    for (const std::string& picture : reading.host.ButtonPictures()) AddFile(picture, reads.files);
    IntroSound sound = SplitIntroSound(reading.machine, reading.screen.introSound);
    if (!sound.file.empty()) AddFile(sound.file, reads.files);
    reads_.push_back(std::move(reads));
}

void ReadBudget::AddWaitLibrary(unsigned short windowsVersion, bool everyWindows, ReadSet& set) const {
    std::vector<ReadFile> found;
    std::vector<unsigned short> versions = {windowsVersion};
    if (everyWindows) versions = {1, 5};  // one of each family
    for (unsigned short version : versions)
        AddFile(kDiscRoot + WaitLibraryName(programName_, version), found);
    if (found.empty()) {
        for (unsigned short version : versions) {
            std::string name = WaitLibraryName(programName_, version);
            for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            set.missing.push_back(name);
        }
        return;
    }
    auto largest = std::max_element(found.begin(), found.end(),
                                    [](const ReadFile& a, const ReadFile& b) { return a.bytes < b.bytes; });
    // Read right after the program.
    const bool programThere = std::find(set.missing.begin(), set.missing.end(), programName_ + ".EXE") == set.missing.end();
    set.files.insert(set.files.begin() + (programThere && !set.files.empty() ? 1 : 0), *largest);
}

std::vector<ReadSet> ReadBudget::Sets() const {
    bool everyWindows = std::all_of(reads_.begin(), reads_.end(),
                                    [](const Reads& reads) { return reads.windowsVersion == 0; });
    std::vector<ReadSet> sets;
    std::vector<std::vector<std::string>> systems;
    for (const Reads& reads : reads_) {
        ReadSet set;
        set.files = reads.files;
        if (!disc_.Find(kDiscRoot + programName_ + ".EXE").found) set.missing.push_back(programName_ + ".EXE");
        AddWaitLibrary(reads.windowsVersion, everyWindows, set);
        std::size_t at = 0;
        while (at < sets.size() && !SameFiles(sets[at].files, set.files)) ++at;
        if (at == sets.size()) {
            sets.push_back(set);
            systems.emplace_back();
        }
        systems[at].push_back(reads.description);
    }
    for (std::size_t i = 0; i < sets.size(); ++i)
        sets[i].systems = sets.size() == 1 && screenless_ == 0 ? "every system" : Joined(systems[i]);
    return sets;
}

std::string ReadNoteText(const ReadSet& set) {
    std::string text = "before the screen appears on " + set.systems + ", the drive reads " + Grouped(set.Bytes()) +
                       " bytes: " + Seconds(set.SecondsAt(1)) + " at 1x, " + Seconds(set.SecondsAt(4)) + " at 4x, " +
                       Seconds(set.SecondsAt(24)) + " at 24x (" + FileList(set.files) + ")";
    if (!set.missing.empty())
        text += "; " + Joined(set.missing) + (set.missing.size() == 1 ? " is" : " are") + " not in the folder and not counted";
    return text;
}

std::vector<ReadFile> LargestFiles(const ReadSet& set, std::size_t count) {
    std::vector<ReadFile> largest = set.files;
    std::stable_sort(largest.begin(), largest.end(),
                     [](const ReadFile& a, const ReadFile& b) { return a.bytes > b.bytes; });
    if (largest.size() > count) largest.resize(count);
    return largest;
}

std::string ReadWarningText(const ReadSet& set, int limitMs) {
    if (set.SecondsAt(4) * 1000 <= limitMs) return "";
    return "on " + set.systems + " the screen appears only after " + Seconds(set.SecondsAt(4)) +
           " of reading at 4x, over the budget of " + Seconds(limitMs / 1000.0) +
           " (--read-budget MS); the largest files: " + FileList(LargestFiles(set, 3)) +
           " (discscreen shrink makes pictures smaller)";
}

void ReadBudget::AddFindings(Report& report, int limitMs) const {
    for (const ReadSet& set : Sets()) {
        Finding note;
        note.severity = Severity::kNote;
        note.name = "read-budget";
        note.ofOneSystem = true;
        note.message = ReadNoteText(set);
        report.Add(note);
        std::string warning = ReadWarningText(set, limitMs);
        if (warning.empty()) continue;
        note.severity = Severity::kWarning;
        note.message = warning;
        report.Add(note);
    }
}
