#pragma once
// Decisions of the program's start that need no window.
#include <string>

// The arguments part of the process's command line: the text after the
// program's own name (quoted or not), untouched otherwise.
std::string CommandLineArguments(const std::string& commandLine);
// The script to read: the arguments trimmed and upper-cased, or the
// program's name with ".INF" beside the program.
std::string ScriptPathFor(const std::string& arguments, const std::string& programName);
// The stop marker of an installed product, in its support directory.
std::string StopMarkerPath(const std::string& supportDirectory);
// The file name of the wait library for a Windows version code.
std::string WaitLibraryName(const std::string& programName, unsigned short versionCode);

struct IntroSound {
    std::string file;  // absolute; empty when the script names none
    int seconds = 0;
};
// The intro sound's value: a file name, then optionally "," and seconds.
IntroSound SplitIntroSound(const std::string& value);

// What the screen does once its script is read.
enum class StartPlan {
    kPlayIntro,          // wait for the user
    kRunChain,           // a [RUN] script: run it out of sight
    kDeleteAndResume,    // a resume script: used once, its chain runs now
    kKeepResume,         // a resume script, but the screen closes at once:
                         // the script and its run-once value stay for the next start
};
StartPlan PlanStart(bool resumed, bool autoRun, bool closing);

// The text of the error box shown when the resume script cannot be deleted,
// for a system error code.
std::string DeleteFailureText(unsigned long errorCode, const std::string& path);
