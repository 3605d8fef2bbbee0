#include "script/system_facts.h"

#include <cstring>

#include "script/machine.h"
#include "script/values.h"

std::string DirectoryOf(const char* path) {
    std::string text = path ? std::string(path) : TheMachine().ProgramFile();
    std::size_t slash = text.rfind('\\');
    if (slash == std::string::npos) return text;
    if (slash > 0 && text[slash - 1] == ':') return text.substr(0, slash + 1);
    return text.substr(0, slash);
}

std::string ProgramNameOf(const std::string& modulePath) {
    std::string name = modulePath;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    std::size_t separator = name.find_last_of("\\/:");
    return separator == std::string::npos ? name : name.substr(separator + 1);
}

namespace {

// Index of the backslash that starts the root of an absolute program path:
// the one of the first ":\", or the one after the server name of "\\server\".
std::size_t RootOf(const std::string& program) {
    if (program.compare(0, 2, "\\\\") == 0) {
        std::size_t slash = program.find('\\', 2);
        return slash == std::string::npos ? program.size() : slash;
    }
    std::size_t drive = program.find(":\\");
    return drive == std::string::npos ? 0 : drive + 1;
}

bool IsAbsolute(const std::string& text) {
    std::size_t drive = text.find(":\\");
    return (drive != std::string::npos && drive >= 1) || text.find("\\\\") != std::string::npos ||
           text.empty();
}

}  // namespace

std::string ResolveScriptPath(const std::string& rawText) {
    std::string text = SkipLeadingBlanks(rawText.c_str());
    if (IsAbsolute(text)) return text;

    std::string program = TheMachine().ProgramFile();
    if (program.find('\\') == std::string::npos) return text;
    std::size_t root = RootOf(program);
    std::size_t last = program.rfind('\\');
    if (last == std::string::npos || last < root) last = root;
    if (root >= program.size()) return text;  // no root at all: leave the name alone

    std::size_t insertAfter = last;  // index of the backslash the text follows
    if (text.compare(0, 3, "..\\") == 0) {
        std::size_t groups = 0;
        while (text.compare(groups * 3, 3, "..\\") == 0) ++groups;
        text.erase(0, groups * 3);
        for (std::size_t i = 0; i < groups && insertAfter > root; ++i) {
            std::size_t previous = program.rfind('\\', insertAfter - 1);
            insertAfter = (previous == std::string::npos || previous < root) ? root : previous;
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

bool FileExists(const std::string& path) {
    unsigned long attributes = 0;
    if (!TheMachine().FirstMatchAttributes(path, &attributes)) return false;
    return (attributes & kAttributeDirectory) == 0;
}

bool RegistryString(const RegistryValue& value, std::string* out) {
    out->clear();
    if (value.type != kRegString && value.type != kRegExpandString) return false;
    // The data need not end in a NUL: take it up to the first NUL or its end.
    const char* data = value.data.data();
    std::size_t length = 0;
    while (length < value.data.size() && data[length] != '\0') ++length;
    if (length > kMaxPathChars) return false;
    out->assign(data, length);
    return !out->empty();
}

bool ReadMachineSetting(const std::string& subKey, const std::string& valueName, std::string* out) {
    out->clear();
    RegistryValue value;
    if (!TheMachine().ReadMachineValue(subKey, valueName, &value)) return false;
    return RegistryString(value, out);
}

unsigned short ClassifyWindowsVersion(unsigned long platformId, unsigned long major,
                                      unsigned long minor, unsigned long build) {
    if (platformId == 1) {
        if (minor < 10) return 1;
        if (minor < 90) return build < 0x040A08AEul ? 2 : 3;
        return 4;
    }
    if (platformId == 2) {
        if (major <= 4) return 5;
        if (major == 5) return 6;
    }
    return 0;
}

unsigned short DetectWindowsVersion() {
    OsVersionInfo info = TheMachine().WindowsVersion();
    return ClassifyWindowsVersion(info.platformId, info.major, info.minor, info.build);
}
