#pragma once
// Milliseconds of the system clock (GetSystemTimeAsFileTime): comparable
// between the processes of one machine, as the helpers' logs need.
#include <windows.h>

inline unsigned long long FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return value.QuadPart / 10000;
}

inline unsigned long long SystemClockMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeMs(now);
}
