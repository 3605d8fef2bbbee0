#include "check/autorun_checks.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "check/autorun_facts.h"
#include "check/autorun_section.h"
#include "check/windows_files.h"
#include "check/windows_ini.h"
#include "reading/disc_folder.h"

namespace {

const char kWindowsFile[] = "AUTORUN.INF";
// Programs that Windows itself has, which a menu command may start with a
// file from the disc.
const char* const kWindowsPrograms[] = {"NOTEPAD", "WRITE", "WORDPAD", "EXPLORER", "IEXPLORE", "START",
                                        "CMD", "COMMAND", "RUNDLL32", "MSIEXEC", "HH", "WINHLP32",
                                        "WINHELP", "MSHTA", "REGEDIT"};

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

std::string Extension(const std::string& name) {
    std::size_t dot = name.find_last_of('.');
    std::size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return "";
    return Upper(name.substr(dot + 1));
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The words of a command line, a quoted one whole.
std::vector<std::string> CommandWords(const std::string& command) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < command.size();) {
        if (command[at] == ' ' || command[at] == '\t') {
            ++at;
        } else if (command[at] == '"') {
            std::size_t close = command.find('"', at + 1);
            if (close == std::string::npos) close = command.size();
            words.push_back(command.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            std::size_t end = command.find_first_of(" \t", at);
            if (end == std::string::npos) end = command.size();
            words.push_back(command.substr(at, end - at));
            at = end;
        }
    }
    return words;
}

// A path that AUTORUN.INF gives: from the disc's root, whichever slash.
std::string DiscPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.size() > 1 && path[1] == ':') return path;
    while (!path.empty() && path[0] == '\\') path.erase(0, 1);
    return kDiscRoot + path;
}

// True for text with letters beyond ASCII that is whole UTF-8.
bool IsUtf8BeyondAscii(const std::string& text) {
    bool beyond = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) continue;
        int more = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + more >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        }
        beyond = true;
        i += static_cast<std::size_t>(more);
    }
    return beyond;
}

// Each byte as the Western code page shows it, written as UTF-8 for the report.
std::string AsWesternWindowsShowsIt(const std::string& bytes) {
    std::string shown;
    for (unsigned char byte : bytes) {
        if (byte < 0x80) {
            shown += static_cast<char>(byte);
        } else {
            shown += static_cast<char>(0xC0 | (byte >> 6));
            shown += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return shown;
}

class SectionChecks {
public:
    SectionChecks(const DiscFolder& disc, const std::string& file, const std::string& program, Report& report)
        : disc_(disc), file_(file), program_(program), report_(report) {
        hasProgram_ = disc_.Find(kDiscRoot + program_).found;
    }

    void Check(const IniSection& section, bool mainHasTask);

private:
    void Add(int line, int column, Severity severity, const std::string& name, const std::string& message) {
        Finding finding;
        finding.line = line;
        finding.column = column;
        finding.severity = severity;
        finding.name = name;
        finding.message = message;
        finding.file = file_;
        report_.Add(finding);
    }
    void Add(const IniEntry& entry, Severity severity, const std::string& name, const std::string& message) {
        Add(entry.line, entry.valueColumn, severity, name, message);
    }
    void CheckKey(const IniSection& section, const IniEntry& entry, std::map<std::string, int>& seen);
    void CheckTask(const IniEntry& entry, bool open);
    // False when it reported that the file is no program that starts.
    bool CheckProgram(const IniEntry& entry, const DiscFile& file, const std::string& named, bool open);
    void CheckIcon(const IniEntry& entry);
    void CheckIconIndex(const IniEntry& entry, const DiscFile& file, const std::string& named, int index);
    void CheckText(const IniEntry& entry, const std::string& key);
    void CheckMenuCommand(const IniEntry& entry);
    void CheckVerbs(const IniSection& section);
    void CheckCut(const IniSection& section);

    const DiscFolder& disc_;
    std::string file_;
    std::string program_;
    bool hasProgram_ = false;
    Report& report_;
};

void SectionChecks::Check(const IniSection& section, bool mainHasTask) {
    const AutorunSectionFact* fact = FindAutorunSection(section.name);
    std::map<std::string, int> seen;
    bool listsPaths = Lower(section.name).find("contentpaths") != std::string::npos;
    if (!listsPaths) {
        for (const IniEntry& entry : section.entries) CheckKey(section, entry, seen);
    }
    if (!fact->startsDisc) return;
    CheckVerbs(section);
    CheckCut(section);
    bool hasTask = seen.count("open") || seen.count("shellexecute");
    if (!hasTask && Lower(section.name) == "autorun") {
        Add(section.line, 1, hasProgram_ ? Severity::kError : Severity::kWarning, "autorun-no-task",
            "[autorun] has no open= (nor shellexecute=), so Windows starts nothing when the disc is put in" +
                std::string(hasProgram_ ? "; open=" + program_ + " starts this screen" : ""));
    } else if (!hasTask && mainHasTask) {
        Add(section.line, 1, Severity::kWarning, "autorun-processor",
            fact->readBy + std::string(" reads only [") + section.name +
                "], not [autorun]; it has no open=, so the disc starts nothing there");
    }
    if (seen.count("shellexecute") && !seen.count("open")) {
        Add(seen["shellexecute"], 1, Severity::kWarning, "autorun-later-windows",
            std::string("shellexecute= is read only by ") + kShellExecuteWindows +
                " and later: Windows 95, 98 and NT 4 start nothing; add open=");
    }
    if (seen.count("action") && !hasTask) {
        Add(seen["action"], 1, Severity::kWarning, "autorun-action",
            "action= names the task that open= or shellexecute= starts, and the section has neither");
    }
}

void SectionChecks::CheckKey(const IniSection& section, const IniEntry& entry, std::map<std::string, int>& seen) {
    std::string key = Lower(entry.key);
    if (!entry.hasEquals) {
        Add(entry.line, 1, Severity::kWarning, "autorun-key",
            "a line without '=' in [" + section.name + "]: Windows reads nothing from it");
        return;
    }
    const AutorunKeyFact* fact = FindAutorunKey(section.name, key);
    if (!fact) {
        std::string hint = key == "run" ? "; open= starts a program" : "";
        Add(entry.line, 1, Severity::kWarning, "autorun-key",
            "no Windows reads " + entry.key + "= in [" + section.name + "]" + hint);
        return;
    }
    auto first = seen.find(key);
    if (first != seen.end()) {
        Add(entry.line, 1, Severity::kWarning, "autorun-duplicate",
            "Windows reads the first " + entry.key + "= (line " + std::to_string(first->second) +
                ") and ignores this one");
        return;
    }
    seen[key] = entry.line;
    if (key == "open" || key == "shellexecute") {
        CheckTask(entry, key == "open");
    } else if (key == "icon" || key == "defaulticon") {
        CheckIcon(entry);
    } else if (key == "label" || key == "action") {
        CheckText(entry, key);
        if (key == "action")
            Add(entry.line, 1, Severity::kNote, "autorun-later-windows",
                std::string("action= is read only by ") + fact->firstWindows +
                    " and later, for its AutoPlay dialog; earlier Windows start open= without it");
    } else if (key == "useautoplay" && std::atoi(entry.value.c_str()) != 0) {
        Add(entry, Severity::kWarning, "autorun-useautoplay",
            "UseAutoPlay=" + entry.value + ": Windows XP then ignores open= and shellexecute=, and Windows "
            "Vista and later leave them out of the AutoPlay dialog, so the screen does not start there");
    } else if (key == "useautoplay") {
        Add(entry.line, 1, Severity::kNote, "autorun-later-windows",
            std::string("UseAutoPlay is read only by ") + fact->firstWindows + " and later; =0 changes nothing");
    } else if (key.size() > 6 && key.compare(0, 6, "shell\\") == 0 && key.find("\\command") != std::string::npos) {
        CheckMenuCommand(entry);
    }
}

void SectionChecks::CheckTask(const IniEntry& entry, bool open) {
    std::vector<std::string> words = CommandWords(entry.value);
    std::string key = open ? "open=" : "shellexecute=";
    if (words.empty()) {
        Add(entry, Severity::kError, "autorun-missing", key + " names nothing to start");
        return;
    }
    DiscFile file = disc_.Find(DiscPath(words[0]));
    if (!file.found || file.directory) {
        Add(entry, Severity::kError, "autorun-missing",
            key + " starts '" + words[0] + "', which is not on the disc: nothing starts when the disc is put in");
        return;
    }
    bool starts = !(open || Extension(words[0]) == "EXE") || CheckProgram(entry, file, words[0], open);
    if (starts && hasProgram_ && Upper(file.discName) != program_)
        Add(entry, Severity::kNote, "autorun-other-program",
            key + " starts " + file.discName + ", not this screen (" + program_ + ")");
}

bool SectionChecks::CheckProgram(const IniEntry& entry, const DiscFile& file, const std::string& named, bool open) {
    std::string extension = Extension(named);
    if (extension == "COM" || extension == "BAT" || extension == "CMD" || extension == "PIF") return true;
    if (extension != "EXE") {
        if (open)
            Add(entry, Severity::kError, "autorun-not-program",
                "open= starts programs only, and '" + named + "' is not one; shellexecute= opens a document (" +
                    kShellExecuteWindows + " and later)");
        return !open;
    }
    switch (ReadProgramFile(ReadWholeFile(file.localPath)).kind) {
        case ProgramKind::kWin32: return true;
        case ProgramKind::kNone:
        case ProgramKind::kOther:
            Add(entry, Severity::kError, "autorun-not-program",
                "'" + named + "' is not a Windows program for x86 (no PE header for it): no Windows starts it");
            return false;
        case ProgramKind::kWin64:
            Add(entry, Severity::kError, "autorun-not-program",
                "'" + named + "' is a 64-bit program: Windows 95 to XP and every 32-bit Windows cannot start it");
            return false;
        case ProgramKind::kDos:
        case ProgramKind::kSixteenBit:
            Add(entry, Severity::kWarning, "autorun-not-program",
                "'" + named + "' is an MS-DOS or 16-bit program: 64-bit Windows cannot start it");
            return false;
    }
    return false;
}

void SectionChecks::CheckIcon(const IniEntry& entry) {
    std::string named = entry.value;
    int index = 0;
    std::size_t comma = named.find_last_of(',');
    if (comma != std::string::npos) {
        std::string number = named.substr(comma + 1);
        number.erase(0, number.find_first_not_of(" \t"));
        char* end = nullptr;
        long parsed = std::strtol(number.c_str(), &end, 10);
        if (!number.empty() && end && *end == '\0') {
            index = static_cast<int>(parsed);
            named = named.substr(0, comma);
            named.erase(named.find_last_not_of(" \t") + 1);
        }
    }
    DiscFile file = disc_.Find(DiscPath(named));
    if (!file.found || file.directory) {
        Add(entry, Severity::kWarning, "autorun-icon",
            entry.key + "= names '" + named + "', which is not on the disc: Windows shows the drive's own icon");
        return;
    }
    CheckIconIndex(entry, file, named, index);
}

void SectionChecks::CheckIconIndex(const IniEntry& entry, const DiscFile& file, const std::string& named, int index) {
    std::string extension = Extension(named);
    std::vector<unsigned char> bytes = ReadWholeFile(file.localPath);
    const std::string indexText = std::to_string(index);
    if (extension == "ICO") {
        IconFile icon = ReadIconFile(bytes);
        if (!icon.valid) {
            Add(entry, Severity::kWarning, "autorun-icon", "'" + named + "' is not an icon file Windows can read");
        } else if (index != 0) {
            Add(entry, Severity::kWarning, "autorun-icon",
                "an .ico file holds one icon: index " + indexText + " of '" + named + "' names none");
        } else if (icon.pngImages == icon.images) {
            Add(entry, Severity::kWarning, "autorun-icon-format",
                "'" + named + "' holds only PNG images, which only " + kPngIconWindows + " and later show");
        } else if (icon.pngImages + icon.alphaImages == icon.images) {
            Add(entry, Severity::kWarning, "autorun-icon-format",
                "'" + named + "' holds only 32-bit images, which only " + kAlphaIconWindows +
                    " and later show; add a 4- or 8-bit image");
        }
    } else if (extension == "EXE" || extension == "DLL") {
        ProgramFile program = ReadProgramFile(bytes);
        const std::vector<int>& groups = program.iconGroupIds;
        bool holdsIt = index >= 0 ? index < static_cast<int>(groups.size())
                                 : std::find(groups.begin(), groups.end(), -index) != groups.end();
        if (program.kind == ProgramKind::kNone) {
            Add(entry, Severity::kWarning, "autorun-icon", "'" + named + "' is not a program, so it holds no icon");
        } else if (!holdsIt && index < 0) {
            Add(entry, Severity::kWarning, "autorun-icon",
                "'" + named + "' holds no icon numbered " + std::to_string(-index) + " (index " + indexText + ")");
        } else if (!holdsIt) {
            std::string held = groups.empty() ? std::string("no icon")
                                              : std::to_string(groups.size()) + (groups.size() == 1 ? " icon" : " icons");
            Add(entry, Severity::kWarning, "autorun-icon",
                "'" + named + "' holds " + held + ": index " + indexText + " names none");
        }
    } else if (extension == "BMP") {
        if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' || index != 0)
            Add(entry, Severity::kWarning, "autorun-icon", "'" + named + "' is not one bitmap that Windows can show");
    } else {
        Add(entry, Severity::kWarning, "autorun-icon-format",
            "Windows takes an icon from an .ico, .bmp, .exe or .dll file, not from '" + named + "'");
    }
}

void SectionChecks::CheckText(const IniEntry& entry, const std::string& key) {
    const std::string& text = entry.value;
    if (key == "action" && !text.empty() && text[0] == '@') {
        std::string named = text.substr(1, text.find(',') - 1);
        if (!disc_.Find(DiscPath(named)).found)
            Add(entry, Severity::kWarning, "autorun-action", "action= takes its text from '" + named +
                                                                 "', which is not on the disc");
        return;
    }
    bool high = std::any_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
    bool control = std::any_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x20; });
    if (key == "label" && text.size() > kLabelShownCharacters) {
        Add(entry, Severity::kWarning, "autorun-label",
            "Windows shows only the first " + std::to_string(kLabelShownCharacters) + " characters of label=: '" +
                AsWesternWindowsShowsIt(text.substr(0, kLabelShownCharacters)) + "'");
    }
    if (control) {
        Add(entry, Severity::kWarning, "autorun-" + key, key + "= holds control characters, which Windows drops");
    }
    if (high) {
        std::string shown = IsUtf8BeyondAscii(text) ? "; saved as UTF-8, it shows as '" + AsWesternWindowsShowsIt(text) +
                                                        "' on Western Windows"
                                                  : "";
        Add(entry, Severity::kWarning, "autorun-" + key,
            key + "= has characters outside ASCII: Windows reads AUTORUN.INF in each system's own code page, "
                  "so they show differently from system to system" + shown);
    }
}

void SectionChecks::CheckMenuCommand(const IniEntry& entry) {
    std::vector<std::string> words = CommandWords(entry.value);
    if (words.empty()) {
        Add(entry, Severity::kWarning, "autorun-menu", entry.key + "= names no command");
        return;
    }
    if (disc_.Find(DiscPath(words[0])).found) return;
    std::string program = Upper(words[0]);
    if (Extension(program) == "EXE") program = program.substr(0, program.size() - 4);
    bool windowsOwn = words[0].find_first_of("\\/:") == std::string::npos &&
                      std::find(std::begin(kWindowsPrograms), std::end(kWindowsPrograms), program) !=
                          std::end(kWindowsPrograms);
    if (!windowsOwn) {
        Add(entry, Severity::kWarning, "autorun-menu",
            entry.key + "= starts '" + words[0] + "', which is not on the disc");
        return;
    }
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        bool looksLikeFile = !Extension(word).empty() && word[0] != '/' && word[0] != '-' &&
                             word.find("://") == std::string::npos;
        if (looksLikeFile && !disc_.Find(DiscPath(word)).found)
            Add(entry, Severity::kWarning, "autorun-menu",
                entry.key + "= opens '" + word + "', which is not on the disc");
    }
}

void SectionChecks::CheckVerbs(const IniSection& section) {
    std::map<std::string, int> commands, texts;
    std::vector<const IniEntry*> defaults;
    for (const IniEntry& entry : section.entries) {
        std::string key = Lower(entry.key);
        if (key == "shell") defaults.push_back(&entry);
        if (key.compare(0, 6, "shell\\") != 0 || key.size() == 6) continue;
        std::size_t slash = key.find('\\', 6);
        std::string verb = key.substr(6, slash == std::string::npos ? std::string::npos : slash - 6);
        if (slash == std::string::npos) {
            texts.emplace(verb, entry.line);
        } else if (key.substr(slash) == "\\command") {
            commands.emplace(verb, entry.line);
        }
    }
    for (const auto& text : texts) {
        if (!commands.count(text.first))
            Add(text.second, 1, Severity::kWarning, "autorun-menu",
                "the menu entry shell\\" + text.first + " has no shell\\" + text.first + "\\command=");
    }
    if (!defaults.empty() && !commands.count(Lower(defaults.front()->value)))
        Add(*defaults.front(), Severity::kWarning, "autorun-shell",
            "shell= names the verb '" + defaults.front()->value + "', which has no shell\\" +
                defaults.front()->value + "\\command=");
}

// Windows 95, 98 and ME stop reading an INI file at 64 KB.
void SectionChecks::CheckCut(const IniSection& section) {
    const IniEntry* first = nullptr;
    bool taskCut = false;
    for (const IniEntry& entry : section.entries) {
        if (entry.offset + entry.key.size() + entry.value.size() < kOldWindowsIniBytes) continue;
        if (!first) first = &entry;
        std::string key = Lower(entry.key);
        taskCut = taskCut || key == "open" || key == "shellexecute";
    }
    if (first)
        Add(first->line, 1, taskCut ? Severity::kError : Severity::kWarning, "autorun-cut",
            "Windows 95, 98 and ME read only the first 64 KB of AUTORUN.INF: this line and the section's lines "
            "after it are past it" + std::string(taskCut ? ", open= among them" : ""));
}

// A warning about a section's header line.
void AddSectionWarning(Report& report, const IniSection& section, const std::string& file, const std::string& name,
                       const std::string& message) {
    Finding finding;
    finding.line = section.line;
    finding.severity = Severity::kWarning;
    finding.name = name;
    finding.message = message;
    finding.file = file;
    report.Add(finding);
}

void CheckMark(const std::string& bytes, const std::string& file, Report& report) {
    std::size_t mark = MarkBeforeAutorun(bytes);
    if (mark == std::string::npos) return;
    Finding finding;
    finding.line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + mark, '\n'));
    finding.severity = Severity::kWarning;
    finding.message = "[autorun] follows a byte-order mark, so Windows does not see the section and does "
                      "not start the screen when the disc is put in; put a line break after the mark";
    finding.name = "autorun-mark";
    finding.file = file;
    report.Add(finding);
}

// A script that is not Windows' own file: its [autorun] sections are read by no Windows.
void CheckSectionsElsewhere(const std::string& script, const std::string& scriptName, Report& report) {
    for (const IniSection& section : ReadWindowsIni(script)) {
        const AutorunSectionFact* fact = FindAutorunSection(section.name);
        if (fact && fact->startsDisc)
            AddSectionWarning(report, section, "", "autorun-elsewhere",
                              "Windows reads [" + section.name + "] only from AUTORUN.INF at the disc's root, not from " +
                                  scriptName + ": put the section there");
    }
}

std::string ReadText(const std::string& path) {
    std::vector<unsigned char> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Whether the first [autorun] starts something.
bool MainSectionHasTask(const std::vector<IniSection>& sections) {
    for (const IniSection& section : sections) {
        if (Lower(section.name) != "autorun") continue;
        for (const IniEntry& entry : section.entries) {
            std::string key = Lower(entry.key);
            if (key == "open" || key == "shellexecute") return true;
        }
        return false;
    }
    return false;
}

// Each of Windows' sections once (the first of a name counts), and the
// "[autorun.…]" sections that no Windows reads.
void CheckWindowsSections(const std::string& bytes, const std::string& file, SectionChecks& checks, Report& report) {
    std::vector<IniSection> sections = ReadWindowsIni(bytes);
    bool mainHasTask = MainSectionHasTask(sections);
    std::map<std::string, int> seen;
    for (const IniSection& section : sections) {
        std::string name = Lower(section.name);
        if (!FindAutorunSection(name)) {
            if (name.compare(0, 8, "autorun.") == 0)
                AddSectionWarning(report, section, file, "autorun-section", "no Windows reads [" + section.name + "]");
            continue;
        }
        auto first = seen.emplace(name, section.line);
        if (first.second) {
            checks.Check(section, mainHasTask);
        } else {
            AddSectionWarning(report, section, file, "autorun-duplicate",
                              "Windows reads the first [" + section.name + "] (line " +
                                  std::to_string(first.first->second) + ") and ignores this one");
        }
    }
}

}  // namespace

void CheckAutorunSections(const ScriptTarget& target, Report& report) {
    DiscFolder disc(target.discFolder);
    std::string scriptName = BaseName(target.scriptPath);
    bool isWindowsFile = Upper(scriptName) == kWindowsFile;
    if (!isWindowsFile) CheckSectionsElsewhere(ReadText(target.scriptPath), scriptName, report);
    DiscFile windowsFile = disc.Find(std::string(kDiscRoot) + kWindowsFile);
    if (!windowsFile.found || windowsFile.directory) return;
    // Findings of the script name no file; those of Windows' file beside a renamed one name it.
    std::string file = isWindowsFile ? "" : windowsFile.localPath;
    std::string bytes = ReadText(windowsFile.localPath);
    CheckMark(bytes, file, report);
    SectionChecks checks(disc, file, Upper(target.programName) + ".EXE", report);
    CheckWindowsSections(bytes, file, checks, report);
}
