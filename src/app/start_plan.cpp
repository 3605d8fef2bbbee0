#include "app/start_plan.h"

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
