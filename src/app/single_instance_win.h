#pragma once
// One screen at a time, unless the script allows more: a global atom claims
// the screen, and the open screen's window carries a mark, so that an atom
// left behind by a copy that was killed (end task, a crash, a restart that
// Wine lets through without restarting the machine) does not keep every
// later screen shut.
#include <windows.h>

#include <string>

class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();  // gives the claim back
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    static void MarkScreen(HWND screen);
    static void UnmarkScreen(HWND screen);
    // True when an earlier copy holds the claim and its screen is open.
    static bool EarlierCopyRuns(HWND ownScreen);
    void Claim();
    // Brings the earlier copy's screen, and a box it shows, to the front.
    static void BringEarlierCopyToFront(const std::string& programName);

private:
    ATOM atom_ = 0;
};
