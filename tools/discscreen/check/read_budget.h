#pragma once
// What the drive reads before the screen appears, for each of the checker's
// readings: the program, the wait library that system loads, the script,
// the background, the button strips and the intro sound. On a CD-ROM drive
// these bytes are most of the wait between putting the disc in and seeing
// the screen.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "reading/disc_folder.h"
#include "check/findings.h"
#include "reading/screen_reading.h"

// A CD-ROM drive at 1x reads 150 KB a second.
constexpr double kSingleSpeedBytesPerSecond = 150.0 * 1024;
constexpr int kDefaultReadBudgetMs = 1000;

struct ReadFile {
    std::string name;  // as the disc spells it, from the root
    std::uint64_t bytes = 0;
};

// The systems that read the same files, and those files.
struct ReadSet {
    std::string systems;  // "every system", or the readings' descriptions
    std::vector<ReadFile> files;
    std::vector<std::string> missing;  // the program's own files the folder lacks

    std::uint64_t Bytes() const;
    double SecondsAt(int speed) const { return Bytes() / (kSingleSpeedBytesPerSecond * speed); }
};

class ReadBudget : public ReadingObserver {
public:
    ReadBudget(DiscFolder disc, std::string programName, std::string scriptPath)
        : disc_(std::move(disc)), programName_(std::move(programName)), scriptPath_(std::move(scriptPath)) {}

    void OnSystemRead(const SystemReading& reading) override;
    // Counts the file at `localPath` as `bytes` long: what a change would make.
    void UseSize(const std::string& localPath, std::uint64_t bytes) { sizes_[localPath] = bytes; }
    // Names the script `name` where its path says nothing (an edited copy).
    void ShowScriptAs(std::string name) { scriptName_ = std::move(name); }

    // The readings grouped by what they read, in the order first read.
    std::vector<ReadSet> Sets() const;
    // A note for each set; a warning for each that takes longer than
    // `limitMs` at 4x, naming its three largest files.
    void AddFindings(Report& report, int limitMs) const;

private:
    struct Reads {
        std::string description;
        unsigned short windowsVersion;
        std::vector<ReadFile> files;  // without the wait library
    };

    void AddFile(const std::string& windowsPath, std::vector<ReadFile>& files) const;
    // The wait library of a version; where every reading stands for every
    // Windows, the larger of the two.
    void AddWaitLibrary(unsigned short windowsVersion, bool everyWindows, ReadSet& set) const;

    DiscFolder disc_;
    std::string programName_;
    std::string scriptPath_;
    std::string scriptName_;
    std::vector<Reads> reads_;
    std::map<std::string, std::uint64_t> sizes_;
    int screenless_ = 0;  // readings whose screen never appears
};

// "1,190,123 bytes, 1.94 s at 4x"
std::string ReadTimeText(const ReadSet& set);
// The set's note as `check` prints it: the bytes, the times at 1x, 4x and
// 24x, and the files.
std::string ReadNoteText(const ReadSet& set);
// The warning for a set longer than `limitMs` at 4x; "" within the budget.
std::string ReadWarningText(const ReadSet& set, int limitMs);
// The set's `count` largest files, the largest first.
std::vector<ReadFile> LargestFiles(const ReadSet& set, std::size_t count);
// The set that reads the most bytes; an empty set when no screen appears.
ReadSet LargestReadSet(const std::vector<ReadSet>& sets);
