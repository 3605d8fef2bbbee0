// Built like AUTORUN.EXE: no C runtime, the program's own entry point.
// Prints what WinMain received and whether the static constructors and the
// exit functions ran, then exits with the number its arguments start with.
//   entry_probe.exe [NUMBER [MORE...]]
// appends "arguments=[...] show=N constructed=N" and, at exit, "exit
// functions ran" to ENTRY.OUT in the current directory (a program started
// through "start" has no output of its own to read).
#include <windows.h>

namespace {

void Print(const char* text) {
    HANDLE file = CreateFileA("ENTRY.OUT", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written;
    int length = 0;
    while (text[length]) ++length;
    WriteFile(file, text, length, &written, nullptr);
    CloseHandle(file);
}

void PrintNumber(int number) {
    char digits[12];
    int i = sizeof digits - 1;
    digits[i] = '\0';
    do {
        digits[--i] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number);
    Print(digits + i);
}

int constructed = 0;
struct CountsConstruction {
    CountsConstruction() { ++constructed; }
} countsConstruction;

struct ReportsExit {
    ~ReportsExit() { Print("exit functions ran\n"); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int show) {
    static ReportsExit reportsExit;
    Print("arguments=[");
    Print(arguments);
    Print("] show=");
    PrintNumber(show);
    Print(" constructed=");
    PrintNumber(constructed);
    Print("\n");
    int code = 0;
    for (const char* p = arguments; *p >= '0' && *p <= '9'; ++p) code = code * 10 + (*p - '0');
    return code;
}
