#include "try/preview_command.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "reading/command_arguments.h"
#include "check/findings.h"
#include "check/script_checker.h"
#include "script/numbers.h"
#include "script/screen_model.h"
#include "script/screen_scale.h"
#include "reading/shown_screen.h"

namespace {

constexpr int kNoScreen = 3;  // preview.sh: the screen did not appear

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen preview DISC -o OUT.png [--lang CODE] [--windows NAME] [--dpi N]\n"
                 "                         [--states]\n"
                 "  DISC   a disc folder holding AUTORUN.INF\n"
                 "  --lang CODE      the system's language: " << SystemLanguageCodes() << " (default en)\n"
                 "  --windows NAME   the Windows version: " << WindowsSystemNames() << " (default later)\n"
                 "  --dpi N          the display's dots per inch, 96 at 100 % (default 96); from\n"
                 "                   Vista on the screen is drawn a whole factor larger\n"
                 "  --states         a contact sheet: the screen at rest and each button highlighted\n";
    return 2;
}

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char here[4096];
    return std::string(getcwd(here, sizeof here) ? here : ".") + "/" + path;
}

// "check" for a check box that starts clear, "checked" for one that starts
// checked, "push" for every other button.
const char* KindWord(const ShownButton& button) {
    if (button.kind != ButtonKind::kCheckBox) return "push";
    return button.checked ? "checked" : "check";
}

// Runs preview.sh and returns its exit status; Ctrl-C reaches it, and this
// process waits while it cleans up.
int RunScript(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    struct sigaction ignore {}, oldInt {}, oldTerm {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, &oldInt);
    sigaction(SIGTERM, &ignore, &oldTerm);
    pid_t child = fork();
    if (child == 0) {
        sigaction(SIGINT, &oldInt, nullptr);
        sigaction(SIGTERM, &oldTerm, nullptr);
        execvp(argv[0], argv.data());
        std::perror("discscreen: cannot run bash");
        _exit(2);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) status = 2 << 8;
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

}  // namespace

int RunPreview(int argc, char** argv) {
    CommandArguments words({"-o", "--lang", "--windows", "--dpi"}, {"--states"});
    std::string problem = words.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    std::string disc = words.Operand(), out = words.Value("-o");
    std::string languageCode = words.Value("--lang", "en");
    std::string windowsName = words.Value("--windows", "later");
    bool states = words.Has("--states");
    if (out.empty()) return Usage("no -o OUT.png");
    const SystemLanguage* language = FindSystemLanguage(languageCode);
    if (!language) return Usage("unknown language '" + languageCode + "'");
    const WindowsSystem* windows = FindWindowsSystem(windowsName);
    if (!windows) return Usage("unknown Windows '" + windowsName + "'");
    const std::string dpiText = words.Value("--dpi", "96");
    const int dpi = ParseInteger(dpiText);
    if (dpiText.find_first_not_of("0123456789") != std::string::npos || dpi < 48 || dpi > 960)
        return Usage("--dpi takes a number from 48 to 960, not '" + dpiText + "'");
    // The program draws the screen this many times larger; the script
    // reader gives its places at 96 DPI.
    const int factor = ScalesWithDpi(windows->info) ? ScaleForDpi(dpi) : 1;
    ScriptTarget target;
    if (!DiscTargetOf(disc, &target)) {
        std::cerr << "discscreen: no AUTORUN.INF in '" << disc << "'\n";
        return 2;
    }

    ShownScreen screen = ReadShownScreen(target, *language, *windows);
    std::vector<std::string> arguments = {"bash", DISCSCREEN_SOURCE_DIR "/tools/discscreen/try/preview.sh",
                                          Absolute(disc), Absolute(out), screen.title,
                                          std::to_string(screen.width * factor) + "x" +
                                              std::to_string(screen.height * factor),
                                          std::to_string(language->codePage), language->locale,
                                          windows->wineVersion, "--dpi", std::to_string(dpi)};
    if (states) {
        arguments.push_back("--states");
        for (const ShownButton& button : screen.buttons) {
            arguments.push_back(std::to_string(button.number) + ":" + KindWord(button) + ":" +
                                std::to_string(button.x * factor) + ":" +
                                std::to_string(button.y * factor));
        }
    }
    int status = RunScript(arguments);
    if (status != 0 && status != kNoScreen) return 2;
    Report report;
    CheckScript(target, report);
    std::vector<Finding> findings = report.Sorted();
    if (status == kNoScreen) {
        std::cerr << "discscreen: what the checker finds in the script:\n";
        report.Print(std::cerr, target.scriptPath);
        if (findings.empty()) std::cerr << "discscreen: (nothing)\n";
        return 1;
    }
    std::cout << "wrote " << out << "\n";
    // The picture shows what the program does; the errors say why it may
    // not be what was meant.
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::kError) PrintFinding(std::cerr, target.scriptPath, finding);
    }
    return 0;
}
