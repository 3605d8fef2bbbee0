#include "script/windows_version.h"

#include "script/machine.h"

unsigned short ClassifyWindowsVersion(unsigned long platformId, unsigned long major,
                                      unsigned long minor, unsigned long build) {
    if (platformId == 1) {
        if (minor < 10) return 1;
        if (minor < 90) return build < 0x040A08AEul ? 2 : 3;
        return 4;
    }
    if (platformId == 2) {
        if (major <= 4) return 5;
        if (major == 5) return 6;
    }
    return 0;
}

unsigned short DetectWindowsVersion(Machine& machine) {
    OsVersionInfo info = machine.WindowsVersion();
    return ClassifyWindowsVersion(info.platformId, info.major, info.minor, info.build);
}
