#pragma once
// What the screen does once its script is read, and what it tells when the
// resume script it was started with cannot be deleted.
#include <string>

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
