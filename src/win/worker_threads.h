#pragma once
// The worker threads of one screen. The screen must outlive them: before it
// is destroyed it waits for every worker, still handling the messages that a
// worker may send to its windows meanwhile.
#include <windows.h>

#include <vector>

class WorkerThreads {
public:
    using Body = DWORD(WINAPI*)(void*);
    ~WorkerThreads() { WaitForAll(); }
    // Starts a thread at normal priority with the default stack.
    bool Start(Body body, void* argument);
    // The same, for a thread that others wait on: its handle stays open
    // (and valid to wait on) until WaitForAll. Null when it cannot start.
    HANDLE StartKept(Body body, void* argument);
    void WaitForAll();

private:
    struct Thread {
        HANDLE handle;
        bool kept;
    };
    HANDLE Launch(Body body, void* argument, bool kept);
    void CloseFinished();
    std::vector<Thread> threads_;
};
