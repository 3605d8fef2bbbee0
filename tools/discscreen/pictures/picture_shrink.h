#pragma once
// Makes the pictures a script names smaller: each is written again in the
// smallest form the program draws on every Windows (bitmap_writer.h), and
// kept only when the program's own decoder reads back exactly the pixels
// meant: the same pixels as before, or with a colour limit the reduced ones.
#include <cstdint>
#include <string>
#include <vector>

#include "reading/screen_reading.h"

struct ShrinkOptions {
    std::size_t colours = 0;  // 0: no pixel may change; else at most this many colours
    bool dither = false;
};

struct ShrunkPicture {
    std::string discName;   // from the disc's root, with '/'
    std::string localPath;  // the picture in the folder
    std::uint64_t before = 0;
    bool changed = false;
    std::vector<unsigned char> bytes;  // the new file when changed
    std::string remark;                // what was done, or why not
};

ShrunkPicture ShrinkPicture(const std::vector<unsigned char>& file, const ShrinkOptions& options);

// Every picture that some reading of the script loads (backgrounds and
// button strips), each once.
std::vector<ShrunkPicture> ShrinkDiscPictures(const ScriptTarget& target, const ShrinkOptions& options);
