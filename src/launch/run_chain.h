#pragma once
// The workers of the screen's button actions: a chain of checked items and a
// push button's program.
#include <windows.h>

// The argument is the ActionScreen the action was started on.
DWORD WINAPI RunChain(void* screen);
DWORD WINAPI RunPushButton(void* screen);
