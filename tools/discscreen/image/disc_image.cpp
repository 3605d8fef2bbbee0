#include "image/disc_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "reading/disc_folder.h"
#include "check/autorun_section.h"
#include "reading/command_arguments.h"
#include "check/findings.h"
#include "check/script_checker.h"
#include "image/disc_icon.h"
#include "image/image_names.h"
#include "image/image_replacements.h"
#include "reading/shown_screen.h"

namespace {

constexpr std::size_t kLabelCharacters = 32;
const char kProgramFiles[][16] = {"AUTORUN.EXE", "AUTORUN_95.DLL", "AUTORUN_NT.DLL"};

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen image DISC -o DISC.ISO [--label NAME] [--shrink]\n"
                 "                        [--sign CERT KEY | --sign FILE.p12] [--sign-password FILE] [--timestamp URL]\n"
                 "  DISC   a disc folder holding AUTORUN.INF and the program\n"
                 "  --label NAME   the volume label (default: the script's title)\n"
                 "  --shrink       the image's pictures as discscreen shrink makes them (every pixel the same)\n"
                 "  --sign         sign the image's AUTORUN.EXE and wait libraries (Authenticode, osslsigncode)\n"
                 "  --timestamp URL   a time-stamp server for the signatures\n";
    return 2;
}

void Warn(const std::string& text) { std::cerr << "discscreen: warning: " << text << "\n"; }

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

bool ReadFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

// Runs xorriso with its talk kept aside; shown only when it fails.
bool RunXorriso(const std::vector<std::string>& arguments, const std::string& talkFile) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        int talk = open(talkFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (talk >= 0) {
            dup2(talk, 1);
            dup2(talk, 2);
        }
        execvp(argv[0], argv.data());
        std::fprintf(stderr, "cannot run xorriso: install it with tools/install-deps.sh\n");
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) return false;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    std::string talk;
    ReadFile(talkFile, &talk);
    std::cerr << talk;
    return false;
}

// The section's entries after its header, on one line.
std::string OneLine(const std::string& section) {
    std::string line;
    std::istringstream in(section.substr(section.find('\n') + 1));
    for (std::string entry; std::getline(in, entry);) {
        if (!entry.empty() && entry.back() == '\r') entry.pop_back();
        if (!entry.empty()) line += (line.empty() ? "" : " ") + entry;
    }
    return line;
}

std::string TemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/discscreen-image.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

const char kDiscIcon[] = "AUTORUN.ICO";

// Findings about a file the disc lacks or holds in an unfinished form: the
// image may be made before every installer is in place.
bool IsMissingFile(const Finding& finding) {
    return finding.name == "missing-file" || finding.name == "autorun-missing" ||
           finding.name == "autorun-not-program";
}

bool Refuses(const Finding& finding) { return finding.severity == Severity::kError && !IsMissingFile(finding); }

// The checker's findings: errors refuse the image, except that a missing
// file is a warning here. Windows' own section's warnings are shown too.
// False when the image is refused.
bool ScriptAllowsImage(const ScriptTarget& target) {
    Report report;
    CheckScript(target, report);
    std::vector<Finding> findings = report.Sorted();
    int errors = 0;
    for (const Finding& finding : findings) {
        if (Refuses(finding)) ++errors;
    }
    if (errors > 0) {
        for (const Finding& finding : findings) {
            if (Refuses(finding)) PrintFinding(std::cerr, target.scriptPath, finding);
        }
        std::cerr << "discscreen: no image made: the script has " << errors
                  << (errors == 1 ? " error" : " errors") << " (discscreen check shows every finding)\n";
        return false;
    }
    for (Finding finding : findings) {
        bool ofWindowsSection = finding.name.compare(0, 8, "autorun-") == 0 && finding.severity == Severity::kWarning;
        if (!IsMissingFile(finding) && finding.name != "name-case" && !ofWindowsSection) continue;
        finding.severity = Severity::kWarning;
        PrintFinding(std::cerr, target.scriptPath, finding);
    }
    return true;
}

void WarnAboutProgramFiles(const ScriptTarget& target) {
    DiscFolder disc(target.discFolder);
    for (const char* file : kProgramFiles) {
        if (!disc.Find(std::string(kDiscRoot) + file).found)
            Warn(std::string(file) + " is not in the folder: the disc's screen cannot start without it");
    }
}

// The disc's icon: the author's AUTORUN.ICO, or else one made from the
// screen's background into `work`, added to `replacements`.
void AddDiscIcon(const ScriptTarget& target, const ShownScreen& screen, const std::string& work,
                 std::vector<ImageReplacement>& replacements) {
    DiscFolder disc(target.discFolder);
    if (disc.Find(std::string(kDiscRoot) + kDiscIcon).found) return;
    DiscFile background = disc.Find(screen.backgroundPath.empty() ? std::string() : screen.backgroundPath);
    std::vector<unsigned char> icon = MakeDiscIcon(background.found ? background.localPath : std::string());
    std::string copy = work + "/" + kDiscIcon;
    std::ofstream(copy, std::ios::binary).write(reinterpret_cast<const char*>(icon.data()),
                                                static_cast<std::streamsize>(icon.size()));
    replacements.push_back({copy, std::string("/") + kDiscIcon});
}

}  // namespace

std::string VolumeLabel(const std::string& text) {
    std::string label;
    for (char ch : Upper(text)) {
        bool dCharacter = (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
        if (dCharacter) {
            label += ch;
        } else if (!label.empty() && label.back() != '_') {
            label += '_';
        }
    }
    if (label.size() > kLabelCharacters) label.resize(kLabelCharacters);
    while (!label.empty() && label.back() == '_') label.pop_back();
    return label;
}

int RunImage(int argc, char** argv) {
    std::vector<std::string> words(argv, argv + argc);
    SigningKey key;
    bool sign = false;
    std::string problem;
    if (!TakeSigningWords(words, &key, &sign, &problem)) return Usage(problem);
    std::vector<char*> rest;
    for (std::string& word : words) rest.push_back(&word[0]);
    CommandArguments arguments({"-o", "--label"}, {"--shrink"});
    problem = arguments.Parse(static_cast<int>(rest.size()), rest.data(), "DISC");
    if (!problem.empty()) return Usage(problem);
    std::string disc = arguments.Operand(), out = arguments.Value("-o"), label = arguments.Value("--label");
    bool labelGiven = arguments.Has("--label");
    if (out.empty()) return Usage("no -o DISC.ISO");
    while (disc.size() > 1 && disc.back() == '/') disc.pop_back();
    ScriptTarget target;
    std::string script;
    if (!DiscTargetOf(disc, &target) || !ReadFile(target.scriptPath, &script)) {
        std::cerr << "discscreen: no AUTORUN.INF in '" << disc << "'\n";
        return 2;
    }
    if (!ScriptAllowsImage(target)) return 1;
    WarnAboutProgramFiles(target);
    for (const std::string& problem : ImageNameProblems(disc)) Warn(problem);

    ShownScreen screen = ReadShownScreen(target, *FindSystemLanguage("en"), *FindWindowsSystem("later"));
    std::string wanted = labelGiven ? label : screen.title;
    std::string volume = VolumeLabel(wanted);
    if (volume.empty()) volume = "DISC";
    if (volume != wanted)
        std::cerr << "discscreen: volume label " << volume << " (from " << (labelGiven ? "--label" : "the title")
                  << " '" << wanted << "': upper case A-Z 0-9 _, at most 32)\n";

    // Written beside its place and renamed when whole, so that a failure
    // leaves no part of an image where one was asked for.
    const std::string partial = out + ".partial";
    std::remove(partial.c_str());
    std::string work = TemporaryFolder();
    if (work.empty()) {
        std::cerr << "discscreen: cannot make a temporary folder\n";
        return 2;
    }
    std::vector<std::string> xorriso = {"xorriso", "-no_rc", "-abort_on", "FAILURE", "-local_charset", "UTF-8",
                                        "-follow", "link", "-outdev", partial,
                                        "-volid", volume, "-joliet", "on", "-rockridge", "on",
                                        "-compliance", "iso_9660_level=2", "-map", disc, "/"};
    std::vector<ImageReplacement> replacements;
    const std::string section = WriteAutorunSection(screen.title, wanted, kDiscIcon);
    const std::string withSection = WithAutorunSection(script, section);
    bool sectionAdded = !HasAutorunSection(script) && MarkBeforeAutorun(script) == std::string::npos;
    if (sectionAdded) AddDiscIcon(target, screen, work, replacements);
    if (withSection != script) {
        std::string copy = work + "/AUTORUN.INF";
        std::ofstream(copy, std::ios::binary) << withSection;
        std::string onDisc = "/" + target.scriptPath.substr(target.scriptPath.find_last_of('/') + 1);
        xorriso.insert(xorriso.end(), {"-map", copy, onDisc});
        std::cerr << (MarkBeforeAutorun(script) != std::string::npos
                          ? "discscreen: put [autorun] on a line of its own after the byte-order mark"
                          : "discscreen: added [autorun] " + OneLine(section))
                  << " in the image's copy of the script, so that Windows starts the screen (the folder's"
                     " own is unchanged)\n";
    }
    if (arguments.Has("--shrink")) AddShrunkPictures(target, work, replacements);
    bool signedWell = !sign || AddSignedPrograms(target, key, wanted, work, replacements);
    for (const ImageReplacement& file : replacements) xorriso.insert(xorriso.end(), {"-map", file.localCopy, file.onDisc});
    bool made = signedWell && RunXorriso(xorriso, work + "/xorriso.log") &&
                std::rename(partial.c_str(), out.c_str()) == 0;
    for (const ImageReplacement& file : replacements) std::remove(file.localCopy.c_str());
    std::remove(partial.c_str());
    std::remove((work + "/AUTORUN.INF").c_str());
    std::remove((work + "/xorriso.log").c_str());
    rmdir(work.c_str());
    if (!made) {
        std::cerr << "discscreen: no image made\n";
        return 2;
    }
    std::cout << "wrote " << out << ": ISO 9660 level 2 with Joliet and Rock Ridge names, volume " << volume
              << "\n";
    return 0;
}
