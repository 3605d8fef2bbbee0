#include "new/new_disc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "reading/local_paths.h"
#include "check/autorun_section.h"
#include "image/disc_icon.h"
#include "new/disc_items.h"
#include "new/item_names.h"
#include "new/screen_layout.h"
#include "new/screen_script.h"
#include "pictures/picture_files.h"
#include "pictures/style_pictures.h"
#include "reading/disc_folder.h"

namespace {

const char* const kProgramFiles[] = {"AUTORUN.EXE", "AUTORUN_95.DLL", "AUTORUN_NT.DLL"};
// The icon that Windows' own section names, made from the background.
const char kDiscIconFile[] = "AUTORUN.ICO";
constexpr char kScript[] = "AUTORUN.INF";

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

// The pictures this screen uses: the background and one strip per kind of
// button it has.
std::vector<NamedPicture> StylePictures(const ScreenStyle& style, const ScreenLayout& layout,
                                        const ScriptPictures& names) {
    bool chained = false;
    for (const PlacedButton& button : layout.buttons) chained |= button.kind == ScreenButtonKind::kCheckBox;
    std::vector<NamedPicture> pictures = {{names.background, DrawBackground(style, layout.background)},
                                          {names.push, DrawStrip(style, StripKind::kPush)},
                                          {names.exit, DrawStrip(style, StripKind::kExit)}};
    if (chained) {
        pictures.push_back({names.install, DrawStrip(style, StripKind::kInstall)});
        pictures.push_back({names.check, DrawStrip(style, StripKind::kCheck)});
    }
    return pictures;
}

using FileBytes = std::pair<std::string, std::vector<unsigned char>>;

// The program's files to copy: those the folder lacks. "" or why not.
std::string ProgramFilesFor(const DiscFolder& disc, std::vector<FileBytes>* files) {
    const std::string programs = ProgramFolder();
    for (const char* file : kProgramFiles) {
        files->push_back({file, {}});
        if (!ReadWholeFile(programs + "/" + file, &files->back().second))
            return std::string("no ") + file + " in " + programs + " (make dist builds it)";
        // The same program there already is kept as it is.
        DiscFile there = disc.Find(std::string(kDiscRoot) + file);
        std::vector<unsigned char> bytes;
        if (there.found && ReadWholeFile(there.localPath, &bytes) && bytes == files->back().second) files->pop_back();
    }
    return "";
}

// Everything written, or nothing left behind.
// The bytes of the file named `name` among `files`; none when absent.
std::vector<unsigned char> BytesOf(const std::vector<FileBytes>& files, const std::string& name) {
    for (const FileBytes& file : files) {
        if (file.first == name) return file.second;
    }
    return {};
}

bool WriteAll(const std::string& folder, const std::vector<FileBytes>& files, const std::vector<std::string>& made) {
    bool written = true;
    for (const FileBytes& file : files)
        written &= WriteFile(folder + "/" + file.first, std::string(file.second.begin(), file.second.end()));
    if (!written) {
        for (const std::string& file : made) std::remove((folder + "/" + file).c_str());
    }
    return written;
}

std::string FolderName(const std::string& folder) {
    char resolved[PATH_MAX];
    std::string name = BaseName(realpath(folder.c_str(), resolved) ? std::string(resolved) : folder);
    return name.empty() || name == "." || name == "/" ? "Setup" : name;
}

void SayWhatWasMade(const std::vector<DiscItem>& items, const ScreenStyle& style, const std::vector<std::string>& made,
                    NewDisc& result) {
    result.said.push_back("found " + std::to_string(items.size()) + (items.size() == 1 ? " item:" : " items:"));
    for (const DiscItem& item : items)
        result.said.push_back(std::string("  ") + KindName(item.kind) + " " + item.discPath + ": " + item.name);
    std::string files = std::string("made, in the ") + style.name + " style:";
    for (const std::string& file : made) files += " " + file;
    result.said.push_back(files);
}

}  // namespace

NewDisc MakeNewDisc(const NewDiscRequest& request) {
    NewDisc result;
    std::string folder = request.folder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!IsDirectory(folder)) return Refused(result, 2, "'" + folder + "' is no folder");
    DiscFolder disc(folder);
    if (disc.Find(std::string(kDiscRoot) + kScript).found)
        return Refused(result, 1, "'" + folder + "' has a script already; new never overwrites it"
                                  " (discscreen design or check work on it)");

    FoundItems found = FindDiscItems(folder);
    for (const std::string& skipped : found.skipped) result.problems.push_back("left out " + skipped);
    if (found.items.empty())
        return Refused(result, 1, "no installer (SETUP.EXE, INSTALL.EXE, *.MSI in the folder or a folder in it)"
                                  " and no document (.TXT .PDF .HTM .HTML .RTF .DOC) in '" + folder + "'");
    std::string note = NameItems(found.items);
    if (!note.empty()) result.problems.push_back(note);

    const std::string title = request.title.empty() ? FolderName(folder) : request.title;
    ScreenLayout layout = LayOutScreen(found.items, title);
    for (const DiscItem& item : layout.leftOut)
        result.problems.push_back("left out " + item.discPath + ": a screen holds at most " +
                                  std::to_string(kMostItems) + " items");

    ScriptPictures names;
    std::vector<FileBytes> files;
    for (const WrittenPicture& picture : WriteWithOnePalette(StylePictures(*request.style, layout, names)))
        files.push_back({picture.fileName, picture.bytes});
    ForgetTypefaces();
    std::string why = ProgramFilesFor(disc, &files);
    if (!why.empty()) return Refused(result, 2, why);
    files.push_back({kDiscIconFile, DiscIconOf(BytesOf(files, names.background))});
    const std::string script = WithAutorunSection(ScreenScriptText(layout, ScriptTitle(title), *request.style, names),
                                                  WriteAutorunSection(title, "", kDiscIconFile, kProgramFiles[0]));
    // The script last: a folder with a script is done.
    files.push_back({kScript, std::vector<unsigned char>(script.begin(), script.end())});

    std::vector<std::string> made;
    for (const FileBytes& file : files) {
        if (disc.Find(std::string(kDiscRoot) + file.first).found)
            return Refused(result, 1, "'" + folder + "' holds " + file.first + " already; new never overwrites"
                                      " a file (move it away, or make the screen with discscreen design)");
        made.push_back(file.first);
    }
    if (!WriteAll(folder, files, made)) return Refused(result, 2, "cannot write into '" + folder + "'");
    SayWhatWasMade(found.items, *request.style, made, result);
    return result;
}
