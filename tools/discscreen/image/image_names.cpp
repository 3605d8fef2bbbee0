#include "image/image_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr std::size_t kJolietNameCharacters = 64;
constexpr std::size_t kJolietPathCharacters = 240;
constexpr int kIsoDepth = 8;
constexpr std::size_t kIsoNameCharacters = 31;

// The UTF-16 units of a UTF-8 name; false when it is not UTF-8.
bool Utf16Length(const std::string& name, std::size_t* units, bool* beyondBmp) {
    *units = 0;
    *beyondBmp = false;
    for (std::size_t i = 0; i < name.size();) {
        unsigned char lead = static_cast<unsigned char>(name[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > name.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return false;
        }
        if (length == 4) *beyondBmp = true;
        *units += length == 4 ? 2 : 1;
        i += length;
    }
    return true;
}

bool IsDCharacter(char ch) {
    unsigned char upper = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(ch)));
    return (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9') || upper == '_';
}

bool AllDCharacters(const std::string& text) {
    return std::all_of(text.begin(), text.end(), IsDCharacter);
}

// A name of level 2: at most 31 d-characters, a file's with one dot among
// them. Lower case letters are upper-cased, which Windows does not mind.
bool FitsLevelTwo(const std::string& name, bool directory) {
    if (name.empty() || name.size() > kIsoNameCharacters) return false;
    std::size_t dot = name.find('.');
    if (directory || dot == std::string::npos) return AllDCharacters(name);
    return dot > 0 && AllDCharacters(name.substr(0, dot)) && AllDCharacters(name.substr(dot + 1));
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

void CheckName(const std::string& name, const std::string& path, bool directory, int depth,
               std::vector<std::string>& problems) {
    std::size_t units = 0;
    bool beyondBmp = false;
    if (!Utf16Length(name, &units, &beyondBmp)) {
        problems.push_back(path + ": the name is not UTF-8, so its Joliet name cannot say which characters it holds");
    } else {
        if (beyondBmp) problems.push_back(path + ": Joliet names hold no characters beyond U+FFFF");
        if (units > kJolietNameCharacters)
            problems.push_back(path + ": Joliet names hold " + std::to_string(kJolietNameCharacters) +
                               " characters; Windows sees this one cut short");
        if (path.size() > kJolietPathCharacters)
            problems.push_back(path + ": Joliet paths hold " + std::to_string(kJolietPathCharacters) +
                               " characters; this one is longer");
    }
    for (char ch : name) {
        if (std::string("*/:;?\\").find(ch) != std::string::npos || static_cast<unsigned char>(ch) < 0x20) {
            problems.push_back(path + ": Joliet names cannot hold '" + std::string(1, ch) +
                               "'; Windows sees '_' in its place");
            break;
        }
    }
    if (!FitsLevelTwo(name, directory))
        problems.push_back(path + ": not an ISO 9660 level 2 name (A-Z 0-9 _ and one dot, at most 31): "
                                  "systems that read no Joliet names see it renamed");
    if (directory && depth == kIsoDepth + 1)
        problems.push_back(path + ": ISO 9660 holds folders " + std::to_string(kIsoDepth) +
                           " deep; systems that read no Joliet names see this one moved");
}

void Walk(const std::string& folder, const std::string& below, int depth,
          std::vector<std::string>& problems) {
    DIR* directory = opendir(folder.c_str());
    if (!directory) return;
    std::vector<std::string> names;
    while (dirent* entry = readdir(directory)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(directory);
    std::sort(names.begin(), names.end());

    std::map<std::string, std::string> byLowerCase;
    for (const std::string& name : names) {
        std::string path = below + "/" + name;
        std::string local = folder + "/" + name;
        struct stat info;
        bool isDirectory = ::stat(local.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        auto same = byLowerCase.emplace(Lower(name), name);
        if (!same.second)
            problems.push_back(path + ": differs from " + below + "/" + same.first->second +
                               " only in letter case; Windows finds only one of them");
        CheckName(name, path, isDirectory, depth, problems);
        if (isDirectory) Walk(local, path, depth + 1, problems);
    }
}

}  // namespace

std::vector<std::string> ImageNameProblems(const std::string& folder) {
    std::vector<std::string> problems;
    Walk(folder, "", 1, problems);
    return problems;
}
