#pragma once
// The Windows version as the script's section tags name it.

class Machine;

// 0 other, 1 Windows 95, 2 Windows 98, 3 Windows 98 SE, 4 Windows ME,
// 5 Windows NT 4 or earlier, 6 Windows 2000 (any NT 5).
unsigned short DetectWindowsVersion(Machine& machine);
unsigned short ClassifyWindowsVersion(unsigned long platformId, unsigned long major,
                                      unsigned long minor, unsigned long build);
