#pragma once
#include <windows.h>

// Worker bodies; the argument is the LauncherDialog.
DWORD WINAPI RunChain(void* screen);
DWORD WINAPI RunPushButton(void* screen);
