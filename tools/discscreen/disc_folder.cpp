#include "disc_folder.h"

#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "code_page.h"

namespace {

std::string AsciiUpper(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}

// The entry of `directory` named `name`: the exact name first, otherwise one
// that differs only in letter case.
bool FindEntry(const std::string& directory, const std::string& name, std::string* entry) {
    struct stat info;
    if (::stat((directory + "/" + name).c_str(), &info) == 0) {
        *entry = name;
        return true;
    }
    DIR* listing = ::opendir(directory.c_str());
    if (!listing) return false;
    bool found = false;
    std::string wanted = AsciiUpper(name);
    while (dirent* item = ::readdir(listing)) {
        if (AsciiUpper(item->d_name) == wanted) {
            *entry = item->d_name;
            found = true;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

}  // namespace

bool DiscFolder::OnDisc(const std::string& windowsPath) {
    return windowsPath.size() >= 3 && AsciiUpper(windowsPath.substr(0, 3)) == kDiscRoot;
}

DiscFile DiscFolder::Find(const std::string& windowsPath) const {
    DiscFile file;
    if (!OnDisc(windowsPath)) return file;
    std::vector<std::string> parts;
    std::size_t pos = 3;
    while (pos <= windowsPath.size()) {
        std::size_t end = windowsPath.find('\\', pos);
        if (end == std::string::npos) end = windowsPath.size();
        std::string part = windowsPath.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    if (parts.empty()) return file;  // the root is a directory, not a file
    std::string local = root_;
    for (const std::string& part : parts) {
        std::string entry;
        if (!FindEntry(local, part, &entry)) return file;
        if (entry != part) file.caseDiffers = true;
        local += "/" + entry;
        file.discName += (file.discName.empty() ? "" : "\\") + entry;
    }
    struct stat info;
    if (::stat(local.c_str(), &info) != 0) return file;
    file.found = true;
    file.directory = S_ISDIR(info.st_mode);
    file.localPath = local;
    return file;
}

bool DiscMachine::FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) {
    DiscFile file = disc_.Find(pattern);
    if (!file.found) return false;
    *attributes = file.directory ? kAttributeDirectory : 0x20;
    return true;
}

bool DiscMachine::IsLeadByte(unsigned char byte) { return IsLeadByteIn(codePage, byte); }

std::string DiscMachine::ToAnsiCodePage(const std::u16string& text) {
    const std::string page = "CP" + std::to_string(codePage);
    iconv_t converter = iconv_open(page.c_str(), "UTF-16LE");
    if (converter == reinterpret_cast<iconv_t>(-1)) return KeepAsciiOnly(text);
    std::string result;
    result.reserve(text.size());
    // One character at a time, so that one the code page lacks becomes "?"
    // as on Windows, and the rest goes on.
    for (char16_t unit : text) {
        char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        char* inPos = in;
        char* outPos = out;
        std::size_t inLeft = sizeof in;
        std::size_t outLeft = sizeof out;
        if (iconv(converter, &inPos, &inLeft, &outPos, &outLeft) == static_cast<std::size_t>(-1)) {
            result += '?';
        } else {
            result.append(out, outPos);
        }
    }
    iconv_close(converter);
    return result;
}
