#include "reading/disc_folder.h"

#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "reading/code_page.h"

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

namespace {

// One conversion through iconv; false when it fails.
bool Convert(iconv_t converter, const char* in, std::size_t inSize, std::string* out) {
    char buffer[8];
    char* inPos = const_cast<char*>(in);
    char* outPos = buffer;
    std::size_t inLeft = inSize;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPos, &inLeft, &outPos, &outLeft) == static_cast<std::size_t>(-1) || inLeft)
        return false;
    out->assign(buffer, outPos);
    return true;
}

}  // namespace

std::string DiscMachine::ToAnsiCodePage(const std::u16string& text) {
    const std::string page = "CP" + std::to_string(codePage);
    iconv_t there = iconv_open(page.c_str(), "UTF-16LE");
    iconv_t back = iconv_open("UTF-16LE", page.c_str());
    std::string result;
    if (there == reinterpret_cast<iconv_t>(-1) || back == reinterpret_cast<iconv_t>(-1)) {
        result = KeepAsciiOnly(text);
    } else {
        result.reserve(text.size());
        // One character at a time, so that one the code page lacks becomes
        // "?" and the rest goes on. A character that comes back as another
        // is one of the library's look-alikes, which Windows does not make.
        for (char16_t unit : text) {
            const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            std::string ansi, again;
            if (Convert(there, in, sizeof in, &ansi) && Convert(back, ansi.data(), ansi.size(), &again) &&
                again == std::string(in, sizeof in)) {
                result += ansi;
            } else {
                result += '?';
            }
        }
    }
    if (there != reinterpret_cast<iconv_t>(-1)) iconv_close(there);
    if (back != reinterpret_cast<iconv_t>(-1)) iconv_close(back);
    return result;
}
