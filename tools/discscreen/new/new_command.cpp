#include "new/new_command.h"

#include <iostream>

#include "check/findings.h"
#include "check/script_checker.h"
#include "new/new_disc.h"
#include "reading/command_arguments.h"
#include "reading/shown_screen.h"

namespace {

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

}  // namespace

int RunNew(int argc, char** argv) {
    CommandArguments arguments({"--title", "--style"}, {});
    std::string problem = arguments.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    NewDiscRequest request;
    request.folder = arguments.Operand();
    request.title = arguments.Value("--title");
    request.style = FindScreenStyle(arguments.Value("--style", ScreenStyles()[0].name));
    if (!request.style) return Usage("no style '" + arguments.Value("--style") + "'");
    NewDisc made = MakeNewDisc(request);
    for (const std::string& line : made.problems) std::cerr << "discscreen: " << line << "\n";
    for (const std::string& line : made.said) std::cout << line << "\n";
    if (made.status == 0) SayFindings(request.folder);
    return made.status;
}
