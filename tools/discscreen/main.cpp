// discscreen: the disc authors' tool. Each command lives with its concern;
// this only picks it.
#include <iostream>
#include <string>

#include "check/check_command.h"
#include "design/design_command.h"
#include "image/disc_image.h"
#include "new/new_command.h"
#include "pictures/picture_command.h"
#include "pictures/shrink_command.h"
#include "reading/script_reference.h"
#include "try/preview_command.h"

namespace {

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen check [--script NAME] [--codepage N] [--read-budget MS] PATH\n"
                 "       discscreen preview DISC -o OUT.png [--lang CODE] [--windows NAME] [--states]\n"
                 "       discscreen image DISC -o DISC.ISO [--label NAME] [--shrink] [--sign CERT KEY]\n"
                 "       discscreen shrink DISC [-o OUT | --in-place] [--colours N [--dither]]\n"
                 "       discscreen design DISC [--port N] [--no-browser]\n"
                 "       discscreen new DISC [--title TEXT] [--style NAME]\n"
                 "       discscreen picture IN... -o OUT.BMP [--colours N [--dither]] [--make-states]\n"
                 "       discscreen reference\n";
    return 2;
}

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"check", RunCheck}, {"preview", RunPreview}, {"image", RunImage},
    {"shrink", RunShrink}, {"design", RunDesign}, {"new", RunNew}, {"picture", RunPicture},
    {"reference", RunReference},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("");
    for (const Command& command : kCommands) {
        if (argv[1] == std::string(command.name)) return command.run(argc - 2, argv + 2);
    }
    return Usage("unknown command '" + std::string(argv[1]) + "'");
}
