#include "launch/launch_program_win.h"

#include "launch/button_actions.h"
#include "launch/process_start_win.h"
#include "launch/screen_messages_win.h"

namespace {

using WaitForProcessFn = DWORD(WINAPI*)(HANDLE process, DWORD processId,
                                        const char* const* ignoreList, DWORD ignoreCount);

constexpr DWORD kPauseAfterWaitMs = 500;

// A start through the shell may leave no process to wait for; the pause
// still follows, as it does when the library lacks the export. True when
// the library did wait for the program.
bool WaitThroughLibrary(HMODULE library, const StartedProcess& process,
                        const std::vector<std::string>* ignoreList) {
    auto wait = reinterpret_cast<WaitForProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "WaitForProcess")));
    if (wait && process.process) {
        std::vector<const char*> names;
        if (ignoreList) {
            for (const std::string& name : *ignoreList) names.push_back(name.c_str());
        }
        wait(static_cast<HANDLE>(process.process), process.id,
             names.empty() ? nullptr : names.data(), static_cast<DWORD>(names.size()));
    }
    Sleep(kPauseAfterWaitMs);
    return wait && process.process;
}

}  // namespace

bool LaunchProgram(HWND screen, Machine& machine, const LaunchRequest& request) {
    PreparedLaunch prepared = PrepareLaunch(machine, request.commandLine);
    if (!prepared.directory.empty()) SetCurrentDirectoryA(prepared.directory.c_str());
    if (request.installMessage && request.installMessage[0]) {
        PostMessageA(screen, kLaunchNotice, reinterpret_cast<WPARAM>(request.installMessage), 1);
    }

    bool created = false;
    if (request.exitCode) *request.exitCode = 0;
    if (!prepared.commandLine.empty()) {
        WinProcessStarter starter;
        StartedProcess process;
        created = StartCommandLine(machine, prepared.commandLine, starter, &process);
        if (created) {
            if (request.wait && request.waitLibrary &&
                WaitThroughLibrary(request.waitLibrary, process, request.ignoreList)) {
                DWORD code = 0;
                if (request.exitCode && GetExitCodeProcess(static_cast<HANDLE>(process.process), &code))
                    *request.exitCode = code;
            }
            CloseStartedProcess(process);
        }
    }

    PostMessageA(screen, kLaunchNotice, 0, 0);
    SetCurrentDirectoryA(request.programDirectory.c_str());
    return created;
}
