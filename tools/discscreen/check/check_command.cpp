#include "check/check_command.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "reading/local_paths.h"
#include "check/findings.h"
#include "check/read_budget.h"
#include "check/script_checker.h"
#include "reading/command_arguments.h"
#include "reading/disc_folder.h"

namespace {

constexpr int kClean = 0;
constexpr int kErrors = 1;
constexpr int kCannotRun = 2;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen check [--script NAME] [--codepage N] [--read-budget MS] PATH\n"
                 "  PATH   a disc folder holding the script (AUTORUN.INF unless --script), or a script file\n"
                 "  --script NAME   the script's name in the folder\n"
                 "  --codepage N    read every text as code page N (default: each language's own)\n"
                 "  --read-budget MS   warn when the screen needs more than MS ms of reading at 4x (default 1000)\n";
    return kCannotRun;
}

}  // namespace

int RunCheck(int argc, char** argv) {
    CommandArguments arguments({"--script", "--codepage", "--read-budget"}, {});
    std::string problem = arguments.Parse(argc, argv, "PATH");
    if (!problem.empty()) return Usage(problem);
    std::string path = arguments.Operand();
    std::string scriptName = arguments.Value("--script");
    int codePage = 0;
    if (arguments.Has("--codepage")) {
        codePage = std::atoi(arguments.Value("--codepage").c_str());
        if (codePage <= 0) return Usage("bad code page '" + arguments.Value("--codepage") + "'");
    }

    int readBudgetMs = kDefaultReadBudgetMs;
    if (arguments.Has("--read-budget")) {
        readBudgetMs = std::atoi(arguments.Value("--read-budget").c_str());
        if (readBudgetMs <= 0) return Usage("bad read budget '" + arguments.Value("--read-budget") + "'");
    }

    ScriptTarget target;
    target.codePage = codePage;
    std::string shown;
    if (IsDirectory(path)) {
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        target.discFolder = path;
        // Found as Windows finds it, whatever the letter case.
        DiscFile script = DiscFolder(path).Find(kDiscRoot + (scriptName.empty() ? "AUTORUN.INF" : scriptName));
        shown = script.found ? script.localPath
                             : path + "/" + (scriptName.empty() ? "AUTORUN.INF" : scriptName);
    } else {
        if (!scriptName.empty()) return Usage("--script goes with a folder, not a file");
        target.discFolder = DirectoryName(path);
        shown = path;
    }
    target.scriptPath = shown;
    std::string base = BaseName(shown);
    std::size_t dot = base.find_last_of('.');
    target.programName = base.substr(0, dot);
    for (char& ch : target.programName) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }

    if (IsDirectory(target.scriptPath)) return Usage("'" + shown + "' is a folder, not a script");
    std::FILE* file = std::fopen(target.scriptPath.c_str(), "rb");
    if (!file) {
        std::cerr << "discscreen: cannot read '" << shown << "'\n";
        return kCannotRun;
    }
    std::fclose(file);

    Report report;
    ReadBudget budget(DiscFolder(target.discFolder), target.programName, target.scriptPath);
    CheckScript(target, report, &budget);
    budget.AddFindings(report, readBudgetMs);
    return report.Print(std::cout, shown) > 0 ? kErrors : kClean;
}
