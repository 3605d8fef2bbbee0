#include "launch/target_resolution.h"

#include "script/machine.h"
#include "script/system_facts.h"
#include "script/values.h"

namespace {

const char kSystemRoot[] = "%SystemRoot%";
constexpr std::size_t kSystemRootLength = sizeof kSystemRoot - 1;
// The verb the shell uses when a class names no default verb.
const char kOpenVerb[] = "open";

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

// The default value of an association key as text; `expandable` tells a
// REG_EXPAND_SZ value. Empty when the key or a usable string is missing.
std::string ReadAssociation(const std::string& subKey, bool* expandable = nullptr) {
    RegistryValue value;
    std::string text;
    if (!TheMachine().ReadAssociationValue(subKey, &value) || !RegistryString(value, &text))
        return std::string();
    if (expandable) *expandable = value.type == kRegExpandString;
    return text;
}

// The command template of the file's association: its class's default verb,
// "open" when the class names none, as the shell does. Environment
// variables of an expandable template are expanded, quotes turned into
// blanks and a leading %SystemRoot% expanded (Windows 95 has no such
// variable). Empty when the association is missing or incomplete, or the
// expanded template would not fit.
std::string ReadCommandTemplate(const std::string& file) {
    std::string extension = FindExtension(file.c_str());
    if (extension.empty()) return std::string();
    std::string className = ReadAssociation(extension);
    if (className.empty()) return std::string();
    std::string shellKey = className + "\\shell";
    std::string verb = ReadAssociation(shellKey);
    if (verb.empty()) verb = kOpenVerb;
    bool expandable = false;
    std::string command = ReadAssociation(shellKey + "\\" + verb + "\\command", &expandable);
    if (command.empty()) return std::string();

    if (expandable) {
        command = TheMachine().ExpandEnvironment(command);
        if (!Fits(command)) return std::string();
    }
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

// A document path as one argument of the program that opens it: in quotes
// when it holds a white character, exactly as it is otherwise.
std::string AsOneArgument(const std::string& path) {
    for (char ch : path) {
        if (IsWhiteChar(ch)) return "\"" + path + "\"";
    }
    return path;
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
        if (IsPlaceholderAt(command, pos)) return command.substr(0, pos) + AsOneArgument(file) + rest;
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
    if (!turned && !SameExtension(result, file)) result += " " + AsOneArgument(file);
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
