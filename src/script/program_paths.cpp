#include "script/program_paths.h"

#include <cstring>
#include <vector>

#include "script/machine.h"
#include "script/text_trim.h"

namespace {

// Positions of the characters of `set` in a path, walked character by
// character: in a double-byte code page the second byte of a character may
// be 0x5C, which is no backslash.
std::vector<std::size_t> PositionsOf(Machine& machine, const std::string& path, const char* set) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(path[i]);
        if (ch >= 0x80) {
            if (i + 1 < path.size() && machine.IsLeadByte(ch)) ++i;
        } else if (ch != '\0' && std::strchr(set, ch)) {
            found.push_back(i);
        }
    }
    return found;
}

std::vector<std::size_t> BackslashesOf(Machine& machine, const std::string& path) {
    return PositionsOf(machine, path, "\\");
}

}  // namespace

std::string DirectoryOf(Machine& machine, const std::string& path) {
    const std::vector<std::size_t> slashes = BackslashesOf(machine, path);
    if (slashes.empty()) return path;
    const std::size_t slash = slashes.back();
    if (slash > 0 && path[slash - 1] == ':') return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string ProgramNameOf(Machine& machine, const std::string& modulePath) {
    std::string name = modulePath;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    const std::vector<std::size_t> separators = PositionsOf(machine, name, "\\/:");
    return separators.empty() ? name : name.substr(separators.back() + 1);
}

namespace {

// ":" and "\" are below every trail byte of the double-byte code pages, so
// a backslash after a colon is always one of its own, as is the byte after
// any backslash.

// Index of the backslash that starts the root of an absolute program path:
// the one of the first ":\", or the one after the server name of "\\server\".
std::size_t RootOf(const std::string& program, const std::vector<std::size_t>& slashes) {
    const bool server = program.compare(0, 2, "\\\\") == 0;
    for (std::size_t slash : slashes) {
        if (server ? slash >= 2 : (slash > 0 && program[slash - 1] == ':')) return slash;
    }
    return server ? program.size() : 0;
}

bool IsAbsolute(Machine& machine, const std::string& text) {
    if (text.empty()) return true;
    for (std::size_t slash : BackslashesOf(machine, text)) {
        if (slash >= 2 && text[slash - 1] == ':') return true;
        if (slash + 1 < text.size() && text[slash + 1] == '\\') return true;
    }
    return false;
}

}  // namespace

std::string ResolveScriptPath(Machine& machine, const std::string& rawText) {
    std::string text = SkipLeadingBlanks(rawText.c_str());
    if (IsAbsolute(machine, text)) return text;

    std::string program = machine.ProgramFile();
    const std::vector<std::size_t> slashes = BackslashesOf(machine, program);
    if (slashes.empty()) return text;
    std::size_t root = RootOf(program, slashes);
    if (root >= program.size()) return text;  // no root at all: leave the name alone
    std::size_t last = slashes.back();
    if (last < root) last = root;

    std::size_t insertAfter = last;  // index of the backslash the text follows
    if (text.compare(0, 3, "..\\") == 0) {
        std::size_t groups = 0;
        while (text.compare(groups * 3, 3, "..\\") == 0) ++groups;
        text.erase(0, groups * 3);
        for (std::size_t i = 0; i < groups && insertAfter > root; ++i) {
            std::size_t previous = root;
            for (std::size_t slash : slashes) {
                if (slash >= insertAfter) break;
                if (slash > root) previous = slash;
            }
            insertAfter = previous;
        }
    } else if (text.compare(0, 2, ":\\") == 0) {
        text.erase(0, 2);
        insertAfter = root;
    } else if (text[0] == '\\') {
        text.erase(0, 1);
        insertAfter = root;
    }
    return program.substr(0, insertAfter + 1) + text;
}

const char* FindExtension(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot ? dot : path + std::strlen(path);
}

bool FileExists(Machine& machine, const std::string& path) {
    unsigned long attributes = 0;
    if (!machine.FirstMatchAttributes(path, &attributes)) return false;
    return (attributes & kAttributeDirectory) == 0;
}
