// The program's entry point, in place of a C runtime's start-up code: runs
// the static constructors, calls WinMain with the arguments and the show
// command the system gave, runs the functions registered to run at exit in
// reverse order, and ends the process with WinMain's result. Also the two
// ways out of the program that compiled code may call: atexit and abort.
#include <windows.h>

using ExitFunction = void (*)();

extern "C" {
// The linker's list of static constructors: -1, the constructors, 0.
extern ExitFunction __CTOR_LIST__[];
int atexit(ExitFunction function);
[[noreturn]] void abort();
[[noreturn]] void ProgramEntry();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show);

namespace {
// Function-local statics with destructors register here; the program has
// a handful.
constexpr int kMaxExitFunctions = 32;
ExitFunction exitFunctions[kMaxExitFunctions];
int exitFunctionCount = 0;

void RunStaticConstructors() {
    int count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    // The linker lists them in reverse order of initialisation.
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

void RunExitFunctions() {
    while (exitFunctionCount > 0) exitFunctions[--exitFunctionCount]();
}

// The command line after the program's own name (quoted or not) and the
// blanks after it, as WinMain receives it.
char* ArgumentsOf(char* commandLine) {
    char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (static_cast<unsigned char>(*p) > ' ') ++p;
    }
    while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
    return p;
}

int ShowCommand() {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}
}  // namespace

int atexit(ExitFunction function) {
    if (exitFunctionCount == kMaxExitFunctions) return -1;
    exitFunctions[exitFunctionCount++] = function;
    return 0;
}

// What abort has always meant for this program: a fault it cannot go on from.
void abort() { ExitProcess(3); }

// The loader calls this with the stack aligned to 4 bytes only on i686.
__attribute__((force_align_arg_pointer)) void ProgramEntry() {
    RunStaticConstructors();
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()),
                         ShowCommand());
    RunExitFunctions();
    ExitProcess(static_cast<UINT>(result));
}
