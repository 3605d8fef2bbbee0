// Built like AUTORUN.EXE: no C runtime, the program's own entry point.
// Prints what WinMain received, whether the static constructors and the exit
// functions ran and whether 64-bit division is right, then exits with the
// number its arguments start with.
//   entry_probe.exe [NUMBER [MORE...]]
// appends "arguments=[...] show=N constructed=N divisions=ok|FAIL" and, at exit, "exit
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

// Quotients worked out by the compiler, against the program's own division
// at run time (the operands read through volatile, so that it must divide).
struct Division {
    long long dividend;
    long long divisor;
    long long quotient;
};
#define DIVISION(a, b) {a, b, (a) / (b)}
constexpr Division kSignedDivisions[] = {
    DIVISION(7LL, 2LL), DIVISION(-7LL, 2LL), DIVISION(7LL, -2LL), DIVISION(-7LL, -2LL),
    DIVISION(5LL, 7LL), DIVISION(0x7FFFFFFFFFFFFFFFLL, 1LL), DIVISION(1LL << 62, 3LL),
    DIVISION(-123456789012345LL, 1000LL), DIVISION(0x123456789ALL, 0x12345LL),
};
struct UnsignedDivision {
    unsigned long long dividend;
    unsigned long long divisor;
    unsigned long long quotient;
};
constexpr UnsignedDivision kUnsignedDivisions[] = {
    DIVISION(~0ULL, 1ULL), DIVISION(~0ULL, 0xFFFFFFFFULL), DIVISION(~0ULL, ~0ULL - 1),
    DIVISION(130000000000000000ULL, 10000000ULL), DIVISION(3ULL, 0x100000000ULL),
};
#undef DIVISION

bool DivisionsAreRight() {
    bool right = true;
    for (const Division& d : kSignedDivisions) {
        volatile long long dividend = d.dividend;
        volatile long long divisor = d.divisor;
        right = right && dividend / divisor == d.quotient;
    }
    for (const UnsignedDivision& d : kUnsignedDivisions) {
        volatile unsigned long long dividend = d.dividend;
        volatile unsigned long long divisor = d.divisor;
        right = right && dividend / divisor == d.quotient;
    }
    return right;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int show) {
    static ReportsExit reportsExit;
    Print("arguments=[");
    Print(arguments);
    Print("] show=");
    PrintNumber(show);
    Print(" constructed=");
    PrintNumber(constructed);
    Print(DivisionsAreRight() ? " divisions=ok\n" : " divisions=FAIL\n");
    int code = 0;
    for (const char* p = arguments; *p >= '0' && *p <= '9'; ++p) code = code * 10 + (*p - '0');
    return code;
}
