#pragma once
// The application object: decides whether the screen appears at all, runs it,
// and afterwards brings an earlier copy of the program to the front.
#include <atomic>

class LauncherApp {
public:
    // The program's start routine; the program ends when it returns.
    bool Start();
    void RequestActivateEarlierInstance() { activateEarlierInstance_ = 1; }

private:
    void ActivateEarlierInstance(const char* programName);
    std::atomic<int> activateEarlierInstance_{0};
};

LauncherApp& TheApp();
