#include "new/new_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <vector>

#include "check/autorun_section.h"
#include "check/findings.h"
#include "check/script_checker.h"
#include "new/disc_items.h"
#include "new/item_names.h"
#include "new/screen_layout.h"
#include "new/screen_script.h"
#include "pictures/picture_files.h"
#include "pictures/screen_styles.h"
#include "pictures/style_pictures.h"
#include "reading/command_arguments.h"
#include "reading/disc_folder.h"
#include "reading/shown_screen.h"

namespace {

const char* const kProgramFiles[] = {"AUTORUN.EXE", "AUTORUN_95.DLL", "AUTORUN_NT.DLL"};
constexpr char kScript[] = "AUTORUN.INF";

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen new DISC [--title TEXT] [--style NAME]\n"
                 "  DISC   a folder of a product's files without a script\n"
                 "  --title TEXT   the screen's title (default: the folder's name)\n"
                 "  --style NAME   the look:\n";
    for (const ScreenStyle& style : ScreenStyles())
        std::cerr << "                   " << style.name << (&style == &ScreenStyles()[0] ? " (default)" : "")
                  << ": " << style.looks << "\n";
    return 2;
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The program's files that the tool is installed with: beside the tool's
// build, or where DISCSCREEN_DIST says.
std::string ProgramFolder() {
    const char* given = std::getenv("DISCSCREEN_DIST");
    if (given && *given) return given;
    std::vector<char> self(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length > 0) {
        std::string tool(self.data(), static_cast<std::size_t>(length));
        std::string root = tool.substr(0, tool.find_last_of('/'));   // build/bin
        root = root.substr(0, root.find_last_of('/'));               // build
        root = root.substr(0, root.find_last_of('/'));               // the sources
        if (IsDirectory(root + "/dist")) return root + "/dist";
    }
    return std::string(DISCSCREEN_SOURCE_DIR) + "/dist";
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string ScriptTitle(const std::string& utf8) {
    std::string title = InCodePage1252(utf8);
    if (!title.empty() || utf8.empty()) return title;
    for (unsigned char ch : utf8) {
        if (ch < 0x80) title += static_cast<char>(ch);
        else if ((ch & 0xC0) != 0x80) title += '?';
    }
    return title;
}

// The script's findings, checked as `discscreen check` checks them.
void SayFindings(const std::string& folder) {
    ScriptTarget target;
    if (!DiscTargetOf(folder, &target)) return;
    Report report;
    CheckScript(target, report);
    int errors = 0, warnings = 0;
    for (const Finding& finding : report.Sorted()) {
        if (finding.severity == Severity::kNote) continue;
        (finding.severity == Severity::kError ? errors : warnings) += 1;
        PrintFinding(std::cerr, target.scriptPath, finding);
    }
    std::cout << "check: " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
              << (warnings == 1 ? " warning" : " warnings") << "\n";
}

const char* KindName(ItemKind kind) { return kind == ItemKind::kInstaller ? "installer" : "document"; }

}  // namespace

int RunNew(int argc, char** argv) {
    CommandArguments arguments({"--title", "--style"}, {});
    std::string problem = arguments.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    std::string folder = arguments.Operand();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const ScreenStyle* style = FindScreenStyle(arguments.Value("--style", ScreenStyles()[0].name));
    if (!style) return Usage("no style '" + arguments.Value("--style") + "'");
    if (!IsDirectory(folder)) {
        std::cerr << "discscreen: '" << folder << "' is no folder\n";
        return 2;
    }
    DiscFolder disc(folder);
    if (disc.Find(std::string(kDiscRoot) + kScript).found) {
        std::cerr << "discscreen: '" << folder << "' has a script already; new never overwrites it"
                     " (discscreen design or check work on it)\n";
        return 1;
    }

    FoundItems found = FindDiscItems(folder);
    for (const std::string& skipped : found.skipped) std::cerr << "discscreen: left out " << skipped << "\n";
    if (found.items.empty()) {
        std::cerr << "discscreen: no installer (SETUP.EXE, INSTALL.EXE, *.MSI in the folder or a folder in it)"
                     " and no document (.TXT .PDF .HTM .HTML .RTF .DOC) in '" << folder << "'\n";
        return 1;
    }
    std::string note = NameItems(found.items);
    if (!note.empty()) std::cerr << "discscreen: " << note << "\n";

    std::string titleUtf8 = arguments.Has("--title") ? arguments.Value("--title") : BaseName(folder);
    if (titleUtf8.empty() || titleUtf8 == "." || titleUtf8 == "/") titleUtf8 = "Setup";
    ScreenLayout layout = LayOutScreen(found.items, titleUtf8);
    for (const DiscItem& item : layout.leftOut)
        std::cerr << "discscreen: left out " << item.discPath << ": a screen holds at most " << kMostItems
                  << " items\n";

    // The pictures this screen uses, in one palette.
    ScriptPictures names;
    bool chained = false;
    for (const PlacedButton& button : layout.buttons) chained |= button.kind == ScreenButtonKind::kCheckBox;
    std::vector<NamedPicture> pictures = {{names.background, DrawBackground(*style, layout.background)},
                                          {names.push, DrawStrip(*style, StripKind::kPush)},
                                          {names.exit, DrawStrip(*style, StripKind::kExit)}};
    if (chained) {
        pictures.push_back({names.install, DrawStrip(*style, StripKind::kInstall)});
        pictures.push_back({names.check, DrawStrip(*style, StripKind::kCheck)});
    }

    const std::string programs = ProgramFolder();
    std::vector<std::pair<std::string, std::vector<unsigned char>>> programFiles;
    for (const char* file : kProgramFiles) {
        programFiles.push_back({file, {}});
        if (!ReadWholeFile(programs + "/" + file, &programFiles.back().second)) {
            std::cerr << "discscreen: no " << file << " in " << programs << " (make dist builds it)\n";
            return 2;
        }
        // The same program there already is kept as it is.
        DiscFile there = disc.Find(std::string(kDiscRoot) + file);
        std::vector<unsigned char> bytes;
        if (there.found && ReadWholeFile(there.localPath, &bytes) && bytes == programFiles.back().second)
            programFiles.pop_back();
    }
    std::vector<std::string> made = {kScript};
    for (const NamedPicture& picture : pictures) made.push_back(picture.fileName);
    for (const auto& program : programFiles) made.push_back(program.first);
    for (const std::string& file : made) {
        if (disc.Find(std::string(kDiscRoot) + file).found) {
            std::cerr << "discscreen: '" << folder << "' has a " << file << " already; new never overwrites"
                      << " a file (move it away, or make the screen with discscreen design)\n";
            return 1;
        }
    }

    bool written = true;
    for (const WrittenPicture& picture : WriteWithOnePalette(pictures))
        written &= WriteFile(folder + "/" + picture.fileName, std::string(picture.bytes.begin(), picture.bytes.end()));
    for (const auto& program : programFiles)
        written &= WriteFile(folder + "/" + program.first, std::string(program.second.begin(), program.second.end()));
    const std::string script =
        WithAutorunSection(ScreenScriptText(layout, ScriptTitle(titleUtf8), *style, names), kProgramFiles[0]);
    written &= WriteFile(folder + "/" + kScript, script);
    if (!written) {
        for (const std::string& file : made) std::remove((folder + "/" + file).c_str());
        std::cerr << "discscreen: cannot write into '" << folder << "'\n";
        return 2;
    }

    std::cout << "found " << found.items.size() << (found.items.size() == 1 ? " item" : " items") << ":\n";
    for (const DiscItem& item : found.items)
        std::cout << "  " << KindName(item.kind) << " " << item.discPath << ": " << item.name << "\n";
    std::cout << "made, in the " << style->name << " style:";
    for (const std::string& file : made) std::cout << " " << file;
    std::cout << "\n";
    SayFindings(folder);
    return 0;
}
