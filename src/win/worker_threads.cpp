#include "win/worker_threads.h"

bool WorkerThreads::Start(Body body, void* argument) {
    CloseFinished();
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, body, argument, 0, &id);
    if (!thread) return false;
    threads_.push_back(thread);
    return true;
}

void WorkerThreads::CloseFinished() {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (WaitForSingleObject(*it, 0) == WAIT_OBJECT_0) {
            CloseHandle(*it);
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

void WorkerThreads::WaitForAll() {
    while (!threads_.empty()) {
        HANDLE thread = threads_.back();
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
