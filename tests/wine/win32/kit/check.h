// The verdicts of the Win32 test programs: one line per check, "ok FILE:LINE:
// WHAT" or "FAIL FILE:LINE: WHAT", which run_win32_test in tests/wine/lib.sh
// counts; notes for the log are indented by four blanks. A program ends
// with `return kit::ExitStatus();`.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace kit {

inline int &FailureCount() {
    static int failures = 0;
    return failures;
}

inline bool Verdict(bool good, const char *file, int line, const std::string &what) {
    const char *name = std::strrchr(file, '/');
    std::printf("%s %s:%d: %s\n", good ? "ok" : "FAIL", name ? name + 1 : file, line, what.c_str());
    std::fflush(stdout);
    if (!good) ++FailureCount();
    return good;
}

inline bool VerdictEqual(long got, long expected, const char *file, int line,
                         const std::string &what) {
    return Verdict(
        got == expected, file, line,
        what + " (got " + std::to_string(got) + ", expected " + std::to_string(expected) + ")");
}

inline bool VerdictEqual(const std::string &got, const std::string &expected, const char *file,
                         int line, const std::string &what) {
    return Verdict(got == expected, file, line,
                   what + " (got \"" + got + "\", expected \"" + expected + "\")");
}

inline int ExitStatus() { return FailureCount() ? 1 : 0; }

}  // namespace kit

#define CHECK(good, what) ::kit::Verdict((good), __FILE__, __LINE__, (what))
// Compares two numbers (as long) or two strings and shows both in the verdict.
#define CHECK_EQ(got, expected, what) \
    ::kit::VerdictEqual((got), (expected), __FILE__, __LINE__, (what))
