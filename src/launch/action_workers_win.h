#pragma once
// The worker threads of the screen's button actions: the chain of checked
// items, and a push button's program.
#include <windows.h>

// The argument is the ActionWorkerHost the action was started on.
DWORD WINAPI RunChain(void* screen);
DWORD WINAPI RunPushButton(void* screen);
