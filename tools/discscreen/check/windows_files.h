#pragma once
// What Windows sees in a file that AUTORUN.INF names: whether a program is
// one that Windows starts (its PE header), and which icons a program or an
// icon file holds (the resource directory's icon groups, an .ico's images).
#include <string>
#include <vector>

enum class ProgramKind {
    kNone,        // no MZ header: not a program
    kDos,         // an MZ header alone: an MS-DOS program
    kSixteenBit,  // an NE header: a 16-bit Windows program
    kWin32,       // a PE header for x86
    kWin64,       // a PE header for x64 or Itanium
    kOther,       // a PE header for another processor
};

struct ProgramFile {
    ProgramKind kind = ProgramKind::kNone;
    // The icon groups of its resources, in the order Windows numbers them
    // (named ones first, then by number): an index counts these.
    std::vector<int> iconGroupIds;  // 0 for a named group
};

ProgramFile ReadProgramFile(const std::vector<unsigned char>& bytes);

struct IconFile {
    bool valid = false;  // an icon directory (reserved 0, type 1) whose images lie in the file
    int images = 0;
    int pngImages = 0;    // images stored as PNG
    int alphaImages = 0;  // 32-bit images
};

IconFile ReadIconFile(const std::vector<unsigned char>& bytes);

// The file's bytes, or none when it cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
