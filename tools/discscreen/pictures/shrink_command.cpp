#include "pictures/shrink_command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "reading/command_arguments.h"
#include "pictures/picture_shrink.h"
#include "check/read_budget.h"
#include "reading/shown_screen.h"

namespace fs = std::filesystem;

namespace {

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen shrink DISC [-o OUT | --in-place] [--colours N [--dither]]\n"
                 "  DISC   a disc folder holding AUTORUN.INF\n"
                 "  -o OUT       write a copy of the disc with the smaller pictures to OUT\n"
                 "  --in-place   rewrite the pictures in DISC, keeping the old ones in DISC.before-shrink\n"
                 "  --colours N  allow the pictures to be reduced to N colours (2 to 256)\n"
                 "  --dither     reduce with error diffusion rather than the nearest colour\n"
                 "Without -o or --in-place it only says what it would do.\n";
    return 2;
}

bool WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    const fs::path partial = path.string() + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    fs::rename(partial, path, error);
    return !error;
}

std::string BudgetLine(const ScriptTarget& target, const std::vector<ShrunkPicture>* after) {
    ReadBudget budget(DiscFolder(target.discFolder), target.programName, target.scriptPath);
    if (after) {
        for (const ShrunkPicture& picture : *after) {
            if (picture.changed) budget.UseSize(picture.localPath, picture.bytes.size());
        }
    }
    ReadEverySystem(target, budget);
    ReadSet largest = LargestReadSet(budget.Sets());
    return largest.files.empty() ? "no screen" : ReadTimeText(largest);
}

bool FolderIsEmptyOrAbsent(const fs::path& folder) {
    std::error_code error;
    return !fs::exists(folder, error) || (fs::is_directory(folder, error) && fs::is_empty(folder, error));
}

}  // namespace

int RunShrink(int argc, char** argv) {
    CommandArguments arguments({"-o", "--colours"}, {"--in-place", "--dither"});
    std::string problem = arguments.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    std::string disc = arguments.Operand();
    while (disc.size() > 1 && disc.back() == '/') disc.pop_back();
    const bool inPlace = arguments.Has("--in-place");
    const std::string out = arguments.Value("-o");
    if (inPlace && arguments.Has("-o")) return Usage("-o and --in-place exclude each other");
    ShrinkOptions options;
    if (arguments.Has("--colours")) {
        int colours = std::atoi(arguments.Value("--colours").c_str());
        if (colours < 2 || colours > 256) return Usage("--colours takes 2 to 256");
        options.colours = static_cast<std::size_t>(colours);
    }
    options.dither = arguments.Has("--dither");
    if (options.dither && !options.colours) return Usage("--dither goes with --colours N");

    ScriptTarget target;
    if (!DiscTargetOf(disc, &target)) {
        std::cerr << "discscreen: no AUTORUN.INF in '" << disc << "'\n";
        return 2;
    }
    const fs::path backup = disc + ".before-shrink";
    if (!out.empty() && !FolderIsEmptyOrAbsent(out)) {
        std::cerr << "discscreen: '" << out << "' is not empty; shrink writes a whole disc there\n";
        return 2;
    }
    if (inPlace && fs::exists(backup)) {
        std::cerr << "discscreen: '" << backup.string() << "' is there from an earlier shrink; move it away first\n";
        return 2;
    }

    std::vector<ShrunkPicture> pictures = ShrinkDiscPictures(target, options);
    int changed = 0;
    for (const ShrunkPicture& picture : pictures) {
        std::cout << picture.discName << ": " << picture.remark << "\n";
        changed += picture.changed;
    }
    std::cout << "read before the screen appears (the most of any system): " << BudgetLine(target, nullptr)
              << " before, " << BudgetLine(target, &pictures) << " after\n";

    std::error_code error;
    if (!out.empty()) {
        fs::copy(disc, out, fs::copy_options::recursive, error);
        if (error) {
            std::cerr << "discscreen: cannot copy '" << disc << "' to '" << out << "': " << error.message() << "\n";
            return 2;
        }
    } else if (!inPlace) {
        std::cout << "nothing written: -o OUT writes a copy, --in-place rewrites the pictures in " << disc << "\n";
        return 0;
    }
    const fs::path root = out.empty() ? fs::path(disc) : fs::path(out);
    for (const ShrunkPicture& picture : pictures) {
        if (!picture.changed) continue;
        if (inPlace) {
            fs::create_directories((backup / picture.discName).parent_path(), error);
            fs::copy_file(picture.localPath, backup / picture.discName, error);
            if (error) {
                std::cerr << "discscreen: cannot keep a backup of " << picture.discName << ": " << error.message()
                          << "; it is left as it is\n";
                continue;
            }
        }
        if (!WriteFile(root / picture.discName, picture.bytes)) {
            std::cerr << "discscreen: cannot write " << (root / picture.discName).string() << "\n";
            return 2;
        }
    }
    std::cout << "wrote " << changed << (changed == 1 ? " picture" : " pictures") << " in " << root.string()
              << (inPlace ? " (the old ones are in " + backup.string() + ")" : std::string()) << "\n";
    return 0;
}
