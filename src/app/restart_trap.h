#pragma once
// Restart requests while a chain runs: trapped until the chain ends, or
// allowed after the resume script has been written and registered.
#include <windows.h>

class LauncherDialog;

// Prompt threads; the argument is the LauncherDialog for the trap prompt
// and an AllowPromptRequest (deleted by the thread) for the allow prompt.
DWORD WINAPI TrapPrompt(void* dialog);
DWORD WINAPI AllowPrompt(void* request);

struct AllowPromptRequest {
    LauncherDialog* dialog;
    int resumeAfter;  // as decided when the request came
};

// Writes the resume script for the members after the slot resumeAfter and
// registers it to run once at the next start of Windows; the dialog keeps
// it as its pending resume. False when nothing was left behind (no file
// and no value).
bool WriteResumeScript(LauncherDialog& dialog, int resumeAfter);
