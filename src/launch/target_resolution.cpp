#include "launch/target_resolution.h"

#include "script/machine.h"
#include "script/machine_settings.h"
#include "script/program_paths.h"
#include "script/text_trim.h"
#include "script/upper_case.h"

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

bool SameExtension(Machine& machine, const std::string& a, const std::string& b) {
    return UpperCase(machine, FindExtension(a.c_str())) ==
           UpperCase(machine, FindExtension(b.c_str()));
}

// The default value of an association key as text; `expandable` tells a
// REG_EXPAND_SZ value. Empty when the key or a usable string is missing.
std::string ReadAssociation(Machine& machine, const std::string& subKey,
                            bool* expandable = nullptr) {
    RegistryValue value;
    std::string text;
    if (!machine.ReadAssociationValue(subKey, &value) || !RegistryString(value, &text))
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
std::string ReadCommandTemplate(Machine& machine, const std::string& file) {
    std::string extension = FindExtension(file.c_str());
    if (extension.empty()) return std::string();
    std::string className = ReadAssociation(machine, extension);
    if (className.empty()) return std::string();
    std::string shellKey = className + "\\shell";
    std::string verb = ReadAssociation(machine, shellKey);
    if (verb.empty()) verb = kOpenVerb;
    bool expandable = false;
    std::string command = ReadAssociation(machine, shellKey + "\\" + verb + "\\command", &expandable);
    if (command.empty()) return std::string();

    if (expandable) {
        command = machine.ExpandEnvironment(command);
        if (!Fits(command)) return std::string();
    }
    for (char& ch : command) {
        if (ch == '\'' || ch == '"') ch = ' ';
    }
    command = SkipLeadingBlanks(command.c_str());
    if (command.size() >= kSystemRootLength &&
        UpperCase(machine, command.substr(0, kSystemRootLength)) == UpperCase(machine, kSystemRoot)) {
        command = machine.WindowsDirectory() + command.substr(kSystemRootLength);
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
std::size_t ProgramLengthIn(Machine& machine, const std::string& command) {
    if (FileExists(machine, command)) return command.size();
    for (std::size_t cut = command.size(); cut-- > 0;) {
        if (IsWhiteChar(command[cut]) && FileExists(machine, command.substr(0, cut))) return cut;
    }
    return 0;
}

// The association's command line for the file, or empty when the template
// names no existing program or has no placeholder.
std::string CommandFromTemplate(Machine& machine, const std::string& command,
                                const std::string& file, const std::string& rest) {
    std::size_t program = ProgramLengthIn(machine, command);
    if (program == 0) return std::string();
    for (std::size_t pos = program - 1; pos < command.size(); ++pos) {
        if (IsPlaceholderAt(command, pos)) return command.substr(0, pos) + AsOneArgument(file) + rest;
    }
    return std::string();
}

}  // namespace

std::string FindAssociatedCommand(Machine& machine, const std::string& file,
                                  const std::string& rest) {
    if (!Fits(file)) return std::string();
    std::string command = ReadCommandTemplate(machine, file);
    if (!command.empty()) {
        std::string resolved = CommandFromTemplate(machine, command, file, rest);
        if (!resolved.empty()) return Fits(resolved) ? resolved : std::string();
    }

    std::string result;
    if (!machine.ProgramForDocument(file, &result)) return command;
    // Zero bytes inside the answer become blanks; the trailing ones end it.
    while (!result.empty() && result.back() == '\0') result.pop_back();
    bool turned = false;
    for (char& ch : result) {
        if (ch == '\0') {
            ch = ' ';
            turned = true;
        }
    }
    if (!turned && !SameExtension(machine, result, file)) result += " " + AsOneArgument(file);
    result += rest;
    return Fits(result) ? result : std::string();
}

bool FindLeadingFile(Machine& machine, const std::string& commandLine, std::string* file,
                     std::size_t* end) {
    for (std::size_t pos = 0; pos <= commandLine.size(); ++pos) {
        if (pos < commandLine.size() && !IsWhiteChar(commandLine[pos])) continue;
        // This leading part, and every longer one, is too long for a path.
        if (pos > kMaxPathChars) break;
        std::string path = ResolveScriptPath(machine, commandLine.substr(0, pos));
        if (Fits(path) && FileExists(machine, path)) {
            *file = path;
            *end = pos;
            return true;
        }
    }
    return false;
}

std::string ResolveTarget(Machine& machine, const std::string& commandLine) {
    std::string file;
    std::size_t end = 0;
    if (!FindLeadingFile(machine, commandLine, &file, &end)) return std::string();
    return FindAssociatedCommand(machine, file, commandLine.substr(end));
}
