#include "launch/launch_program.h"

#include <cstring>

#include "app/launcher_dialog.h"
#include "launch/button_actions.h"
#include "script/values.h"

namespace {

using WaitForProcessFn = DWORD(WINAPI*)(HANDLE process, DWORD processId,
                                        const char* const* ignoreList, DWORD ignoreCount);

constexpr DWORD kPauseAfterWaitMs = 500;

void WaitThroughLibrary(HMODULE library, const PROCESS_INFORMATION& process,
                        const std::vector<std::string>* ignoreList) {
    auto wait = reinterpret_cast<WaitForProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "WaitForProcess")));
    if (wait) {
        std::vector<const char*> names;
        if (ignoreList) {
            for (const std::string& name : *ignoreList) names.push_back(name.c_str());
        }
        wait(process.hProcess, process.dwProcessId, names.empty() ? nullptr : names.data(),
             static_cast<DWORD>(names.size()));
    }
    Sleep(kPauseAfterWaitMs);
}

}  // namespace

bool LaunchProgram(HWND screen, const LaunchRequest& request) {
    PreparedLaunch prepared = PrepareLaunch(request.commandLine);
    if (!prepared.directory.empty()) SetCurrentDirectoryA(prepared.directory.c_str());
    if (request.installMessage && request.installMessage[0]) {
        PostMessageA(screen, kLaunchNotice, reinterpret_cast<WPARAM>(request.installMessage), 1);
    }

    bool created = false;
    if (!prepared.commandLine.empty()) {
        char line[kMaxPathChars + 1];
        std::memcpy(line, prepared.commandLine.c_str(), prepared.commandLine.size() + 1);
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        ZeroMemory(&process, sizeof process);
        created = CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                                 nullptr, nullptr, &startup, &process) != FALSE;
        if (created) {
            if (request.wait && request.waitLibrary) {
                WaitThroughLibrary(request.waitLibrary, process, request.ignoreList);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }

    PostMessageA(screen, kLaunchNotice, 0, 0);
    SetCurrentDirectoryA(request.programDirectory.c_str());
    return created;
}
