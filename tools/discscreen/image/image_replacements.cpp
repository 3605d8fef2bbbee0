#include "image/image_replacements.h"

#include <cstdio>
#include <fstream>
#include <iostream>

#include "reading/disc_folder.h"
#include "pictures/picture_shrink.h"

namespace {

const char* const kProgramFiles[] = {"AUTORUN.EXE", "AUTORUN_95.DLL", "AUTORUN_NT.DLL"};

std::string ImagePath(std::string discName) {
    for (char& ch : discName) {
        if (ch == '\\') ch = '/';
    }
    return "/" + discName;
}

}  // namespace

void AddShrunkPictures(const ScriptTarget& target, const std::string& work, std::vector<ImageReplacement>& files) {
    int number = 0;
    for (const ShrunkPicture& picture : ShrinkDiscPictures(target, ShrinkOptions())) {
        std::cerr << "discscreen: shrink " << picture.discName << ": " << picture.remark << "\n";
        if (!picture.changed) continue;
        std::string copy = work + "/picture-" + std::to_string(++number) + ".bmp";
        std::ofstream(copy, std::ios::binary)
            .write(reinterpret_cast<const char*>(picture.bytes.data()), static_cast<std::streamsize>(picture.bytes.size()));
        files.push_back({copy, ImagePath(picture.discName)});
    }
}

bool AddSignedPrograms(const ScriptTarget& target, const SigningKey& key, const std::string& description,
                       const std::string& work, std::vector<ImageReplacement>& files) {
    DiscFolder disc(target.discFolder);
    for (const char* name : kProgramFiles) {
        DiscFile file = disc.Find(std::string(kDiscRoot) + name);
        if (!file.found) continue;
        std::string copy = work + "/signed-" + name;
        std::string talk;
        if (!SignFile(key, description, file.localPath, copy, &talk)) {
            std::remove(copy.c_str());
            std::cerr << talk << "discscreen: cannot sign " << file.discName << "\n";
            return false;
        }
        std::cerr << "discscreen: signed the image's copy of " << file.discName << "\n";
        files.push_back({copy, ImagePath(file.discName)});
    }
    return true;
}
