#pragma once
// Paths relative to the program's own location, and the few facts of the
// machine that the script depends on.
#include <string>

// The directory part of a path; of the program's own file when null.
// A drive's root keeps its backslash ("C:\").
std::string DirectoryOf(const char* path);
// A name written in the script, made absolute against the program's own
// location; returned as it is when already absolute (or empty).
std::string ResolveScriptPath(const std::string& text);
// The program's file name without directory and extension.
std::string ProgramNameOf(const std::string& modulePath);
// True for an existing file that is not a directory.
bool FileExists(const std::string& path);
// A non-empty string value under HKEY_LOCAL_MACHINE (an empty name is the
// default value). Values of another type, or too long for a path buffer,
// give false; a missing terminator is tolerated.
bool ReadMachineSetting(const std::string& subKey, const std::string& valueName, std::string* out);
// The text of a string value read from the registry, by the same rules.
struct RegistryValue;
bool RegistryString(const RegistryValue& value, std::string* out);

// 0 other, 1 Windows 95, 2 Windows 98, 3 Windows 98 SE, 4 Windows ME,
// 5 Windows NT 4 or earlier, 6 Windows 2000 (any NT 5).
unsigned short DetectWindowsVersion();
unsigned short ClassifyWindowsVersion(unsigned long platformId, unsigned long major,
                                      unsigned long minor, unsigned long build);
