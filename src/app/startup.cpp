#include "app/startup.h"

#include "script/system_facts.h"
#include "script/values.h"

std::string CommandLineArguments(const std::string& commandLine) {
    std::size_t pos = 0;
    while (pos < commandLine.size() && (commandLine[pos] == ' ' || commandLine[pos] == '\t')) ++pos;
    if (pos < commandLine.size() && commandLine[pos] == '"') {
        std::size_t close = commandLine.find('"', pos + 1);
        pos = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && commandLine[pos] != ' ' && commandLine[pos] != '\t') ++pos;
    }
    return commandLine.substr(pos);
}

std::string ScriptPathFor(const std::string& arguments, const std::string& programName) {
    std::string path = NormalizeToken(arguments, true);
    if (path.empty()) path = ResolveScriptPath(programName + ".INF");
    return path;
}

std::string StopMarkerPath(const std::string& supportDirectory) {
    return supportDirectory + "\\Qmstop.txt";
}

std::string WaitLibraryName(const std::string& programName, unsigned short versionCode) {
    bool ntFamily = versionCode == 5 || versionCode == 6;
    return programName + (ntFamily ? "_NT" : "_95") + ".dll";
}

IntroSound SplitIntroSound(const std::string& value) {
    std::vector<std::string> pieces = SplitFields(value);
    IntroSound sound;
    sound.file = ResolveScriptPath(pieces.empty() ? std::string() : pieces[0]);
    if (pieces.size() > 1) sound.seconds = ParseNumberOrKeyword(pieces[1]);
    return sound;
}

StartPlan PlanStart(bool resumed, bool autoRun, bool closing) {
    if (resumed) return closing ? StartPlan::kKeepResume : StartPlan::kDeleteAndResume;
    return autoRun ? StartPlan::kRunChain : StartPlan::kPlayIntro;
}

std::string DeleteFailureText(unsigned long errorCode, const std::string& path) {
    const char* pattern;
    switch (errorCode) {
        case 2: pattern = "%1 was not found."; break;
        case 3: pattern = "All or part of the path %1 could not be found."; break;
        case 5: pattern = "Access to %1 was denied."; break;
        case 19: pattern = "%1 could not be deleted because the disk is write-protected."; break;
        case 32: pattern = "A sharing violation occurred while deleting %1."; break;
        default: pattern = "An unexpected error occurred while deleting %1."; break;
    }
    std::string text = pattern;
    text.replace(text.find("%1"), 2, path);
    return text;
}
