#pragma once
// Files that the disc image holds in place of the folder's own: smaller
// pictures (discscreen shrink's, every pixel the same) and the program and
// wait libraries signed. The folder itself is never changed.
#include <string>
#include <vector>

#include "image/code_signing.h"
#include "reading/screen_reading.h"

struct ImageReplacement {
    std::string localCopy;  // in the image's work folder
    std::string onDisc;     // its path in the image, "/PICS/BACK.BMP"
};

// Writes the smaller pictures into `work`; says what it did on stderr.
void AddShrunkPictures(const ScriptTarget& target, const std::string& work, std::vector<ImageReplacement>& files);

// Signs the copies of AUTORUN.EXE and both wait libraries into `work`;
// false, having said why, when one cannot be signed.
bool AddSignedPrograms(const ScriptTarget& target, const SigningKey& key, const std::string& description,
                       const std::string& work, std::vector<ImageReplacement>& files);
