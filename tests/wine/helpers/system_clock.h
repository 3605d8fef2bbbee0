#pragma once
// Milliseconds of the system clock (GetSystemTimeAsFileTime): comparable
// between the processes of one machine, as the helpers' logs need.
#include <windows.h>

inline unsigned long long SystemClockMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    return value.QuadPart / 10000;
}
