// The wait library: WaitForProcess returns when a started program is done.
#include <windows.h>

extern "C" DWORD WINAPI WaitForProcess(HANDLE process, DWORD processId,
                                       const char* const* ignoreList, DWORD ignoreCount);

// Waits for the started process itself only; its descendants are not yet
// followed.
extern "C" DWORD WINAPI WaitForProcess(HANDLE process, DWORD, const char* const*, DWORD) {
    WaitForSingleObject(process, INFINITE);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
