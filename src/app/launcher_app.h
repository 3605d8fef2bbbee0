#pragma once
// The application: decides whether the screen appears at all, runs it, and
// afterwards brings an earlier copy of the program to the front when the
// screen closed for it.
class LauncherApp {
public:
    // The program's start routine; the program ends when it returns.
    void Start();
};
