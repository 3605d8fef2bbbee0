#include "new/new_disc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "check/autorun_section.h"
#include "new/disc_items.h"
#include "new/item_names.h"
#include "new/screen_layout.h"
#include "new/screen_script.h"
#include "pictures/picture_files.h"
#include "pictures/style_pictures.h"
#include "reading/disc_folder.h"

namespace {

const char* const kProgramFiles[] = {"AUTORUN.EXE", "AUTORUN_95.DLL", "AUTORUN_NT.DLL"};
constexpr char kScript[] = "AUTORUN.INF";

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

const char* KindName(ItemKind kind) { return kind == ItemKind::kInstaller ? "installer" : "document"; }

NewDisc& Refused(NewDisc& result, int status, const std::string& why) {
    result.status = status;
    result.problems.push_back(why);
    return result;
}

}  // namespace

NewDisc MakeNewDisc(const NewDiscRequest& request) {
    NewDisc result;
    std::string folder = request.folder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!IsDirectory(folder)) {
        return Refused(result, 2, "'" + folder + "' is no folder");
    }
    DiscFolder disc(folder);
    if (disc.Find(std::string(kDiscRoot) + kScript).found) {
        return Refused(result, 1, "'" + folder + "' has a script already; new never overwrites it"
                                  " (discscreen design or check work on it)");
    }

    FoundItems found = FindDiscItems(folder);
    for (const std::string& skipped : found.skipped) result.problems.push_back("left out " + skipped);
    if (found.items.empty()) {
        return Refused(result, 1, "no installer (SETUP.EXE, INSTALL.EXE, *.MSI in the folder or a folder in it)"
                                  " and no document (.TXT .PDF .HTM .HTML .RTF .DOC) in '" + folder + "'");
    }
    std::string note = NameItems(found.items);
    if (!note.empty()) result.problems.push_back(note);

    std::string titleUtf8 = request.title.empty() ? BaseName(folder) : request.title;
    if (titleUtf8.empty() || titleUtf8 == "." || titleUtf8 == "/") titleUtf8 = "Setup";
    ScreenLayout layout = LayOutScreen(found.items, titleUtf8);
    for (const DiscItem& item : layout.leftOut)
        result.problems.push_back("left out " + item.discPath + ": a screen holds at most " +
                                  std::to_string(kMostItems) + " items");

    // The pictures this screen uses, in one palette.
    ScriptPictures names;
    bool chained = false;
    for (const PlacedButton& button : layout.buttons) chained |= button.kind == ScreenButtonKind::kCheckBox;
    std::vector<NamedPicture> pictures = {{names.background, DrawBackground(*request.style, layout.background)},
                                          {names.push, DrawStrip(*request.style, StripKind::kPush)},
                                          {names.exit, DrawStrip(*request.style, StripKind::kExit)}};
    if (chained) {
        pictures.push_back({names.install, DrawStrip(*request.style, StripKind::kInstall)});
        pictures.push_back({names.check, DrawStrip(*request.style, StripKind::kCheck)});
    }

    const std::string programs = ProgramFolder();
    std::vector<std::pair<std::string, std::vector<unsigned char>>> programFiles;
    for (const char* file : kProgramFiles) {
        programFiles.push_back({file, {}});
        if (!ReadWholeFile(programs + "/" + file, &programFiles.back().second)) {
            return Refused(result, 2, std::string("no ") + file + " in " + programs + " (make dist builds it)");
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
            return Refused(result, 1, "'" + folder + "' holds " + file + " already; new never overwrites"
                                      " a file (move it away, or make the screen with discscreen design)");
        }
    }

    bool written = true;
    for (const WrittenPicture& picture : WriteWithOnePalette(pictures))
        written &= WriteFile(folder + "/" + picture.fileName, std::string(picture.bytes.begin(), picture.bytes.end()));
    for (const auto& program : programFiles)
        written &= WriteFile(folder + "/" + program.first, std::string(program.second.begin(), program.second.end()));
    const std::string script =
        WithAutorunSection(ScreenScriptText(layout, ScriptTitle(titleUtf8), *request.style, names), kProgramFiles[0]);
    written &= WriteFile(folder + "/" + kScript, script);
    if (!written) {
        for (const std::string& file : made) std::remove((folder + "/" + file).c_str());
        return Refused(result, 2, "cannot write into '" + folder + "'");
    }

    result.said.push_back("found " + std::to_string(found.items.size()) + (found.items.size() == 1 ? " item:" : " items:"));
    for (const DiscItem& item : found.items)
        result.said.push_back(std::string("  ") + KindName(item.kind) + " " + item.discPath + ": " + item.name);
    std::string files = std::string("made, in the ") + request.style->name + " style:";
    for (const std::string& file : made) files += " " + file;
    result.said.push_back(files);
    return result;
}
