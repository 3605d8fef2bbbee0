#pragma once
// The application: decides whether the screen appears at all, runs it, and
// afterwards brings an earlier copy of the program to the front when the
// screen closed for it.
class Machine;

class LauncherApp {
public:
    // On the machine the program runs on.
    explicit LauncherApp(Machine& machine) : machine_(machine) {}
    // The program's start routine; the program ends when it returns.
    void Start();

private:
    Machine& machine_;
};
