#include "win/worker_threads.h"

bool WorkerThreads::Start(Body body, void* argument) { return Launch(body, argument, false) != nullptr; }

HANDLE WorkerThreads::StartKept(Body body, void* argument) { return Launch(body, argument, true); }

HANDLE WorkerThreads::Launch(Body body, void* argument, bool kept) {
    CloseFinished();
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, body, argument, 0, &id);
    if (!thread) return nullptr;
    threads_.push_back({thread, kept});
    return thread;
}

void WorkerThreads::CloseFinished() {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (!it->kept && WaitForSingleObject(it->handle, 0) == WAIT_OBJECT_0) {
            CloseHandle(it->handle);
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

void WorkerThreads::WaitForAll() {
    while (!threads_.empty()) {
        HANDLE thread = threads_.back().handle;
        // A worker may still show, hide or end the screen; those calls send
        // messages to this thread, so keep handling them while waiting.
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        CloseHandle(thread);
        threads_.pop_back();
    }
}
