#include "launch/target_resolution.h"

#include "script/machine.h"
#include "script/system_facts.h"
#include "script/values.h"

namespace {

const char kClassesKey[] = "SOFTWARE\\Classes\\";
const char kSystemRoot[] = "%SystemRoot%";
constexpr std::size_t kSystemRootLength = sizeof kSystemRoot - 1;

bool Fits(const std::string& text) { return text.size() <= kMaxPathChars; }

bool IsAsciiLetterOrDigit(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// "%" at the start or after a white character, then "*", a digit or a letter.
bool IsPlaceholderAt(const std::string& text, std::size_t pos) {
    if (text[pos] != '%' || pos + 1 >= text.size()) return false;
    if (pos > 0 && !IsWhiteChar(text[pos - 1])) return false;
    char next = text[pos + 1];
    return next == '*' || IsAsciiLetterOrDigit(next);
}

bool SameExtension(const std::string& a, const std::string& b) {
    return UpperCase(FindExtension(a.c_str())) == UpperCase(FindExtension(b.c_str()));
}

// The command template of the file's association, quotes turned into blanks
// and a leading %SystemRoot% expanded; empty when the association is missing
// or incomplete, or the expanded template would not fit.
std::string ReadCommandTemplate(const std::string& file) {
    std::string className;
    if (!ReadMachineSetting(kClassesKey + std::string(FindExtension(file.c_str())), "", &className))
        return std::string();
    std::string shellKey = kClassesKey + className + "\\shell";
    std::string verb;
    if (!ReadMachineSetting(shellKey, "", &verb)) return std::string();
    std::string command;
    if (!ReadMachineSetting(shellKey + "\\" + verb + "\\command", "", &command)) return std::string();

    for (char& ch : command) {
        if (ch == '\'' || ch == '"') ch = ' ';
    }
    command = SkipLeadingBlanks(command.c_str());
    if (command.size() >= kSystemRootLength &&
        UpperCase(command.substr(0, kSystemRootLength)) == UpperCase(kSystemRoot)) {
        command = TheMachine().WindowsDirectory() + command.substr(kSystemRootLength);
        if (!Fits(command)) return std::string();
    }
    return command;
}

// Length of the longest leading part of the template that names a file, cut
// at its end or at a white character; 0 when none does.
std::size_t ProgramLengthIn(const std::string& command) {
    if (FileExists(command)) return command.size();
    for (std::size_t cut = command.size(); cut-- > 0;) {
        if (IsWhiteChar(command[cut]) && FileExists(command.substr(0, cut))) return cut;
    }
    return 0;
}

// The association's command line for the file, or empty when the template
// names no existing program or has no placeholder.
std::string CommandFromTemplate(const std::string& command, const std::string& file,
                                const std::string& rest) {
    std::size_t program = ProgramLengthIn(command);
    if (program == 0) return std::string();
    for (std::size_t pos = program - 1; pos < command.size(); ++pos) {
        if (IsPlaceholderAt(command, pos)) return command.substr(0, pos) + file + rest;
    }
    return std::string();
}

}  // namespace

std::string FindAssociatedCommand(const std::string& file, const std::string& rest) {
    if (!Fits(file)) return std::string();
    std::string command = ReadCommandTemplate(file);
    if (!command.empty()) {
        std::string resolved = CommandFromTemplate(command, file, rest);
        if (!resolved.empty()) return Fits(resolved) ? resolved : std::string();
    }

    char found[kFindExecutableBytes] = {};
    if (TheMachine().FindExecutableFor(file, found) <= 32) return command;
    // Zero bytes inside the answer become blanks; the trailing ones end it.
    std::size_t end = kFindExecutableBytes;
    while (end > 0 && found[end - 1] == '\0') --end;
    bool turned = false;
    for (std::size_t i = 0; i < end; ++i) {
        if (found[i] == '\0') {
            found[i] = ' ';
            turned = true;
        }
    }
    std::string result(found, end);
    if (!turned && !SameExtension(result, file)) result += " " + file;
    result += rest;
    return Fits(result) ? result : std::string();
}

bool FindLeadingFile(const std::string& commandLine, std::string* file, std::size_t* end) {
    for (std::size_t pos = 0; pos <= commandLine.size(); ++pos) {
        if (pos < commandLine.size() && !IsWhiteChar(commandLine[pos])) continue;
        // This leading part, and every longer one, is too long for a path.
        if (pos > kMaxPathChars) break;
        std::string path = ResolveScriptPath(commandLine.substr(0, pos));
        if (Fits(path) && FileExists(path)) {
            *file = path;
            *end = pos;
            return true;
        }
    }
    return false;
}

std::string ResolveTarget(const std::string& commandLine) {
    std::string file;
    std::size_t end = 0;
    if (!FindLeadingFile(commandLine, &file, &end)) return std::string();
    return FindAssociatedCommand(file, commandLine.substr(end));
}
