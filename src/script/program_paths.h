#pragma once
// Paths: the program's own location, names written in the script made
// absolute against it, and whether a file exists. Paths are walked
// character by character, so that the trail byte of a double-byte
// character is never taken for a backslash.
#include <cstddef>
#include <string>

class Machine;

// Longest path or command line that the program passes to the system.
constexpr std::size_t kMaxPathChars = 519;

// The directory part of a path. A drive's root keeps its backslash ("C:\").
std::string DirectoryOf(Machine& machine, const std::string& path);
// A name written in the script, made absolute against the program's own
// location; returned as it is when already absolute (or empty).
std::string ResolveScriptPath(Machine& machine, const std::string& text);
// The program's file name without directory and extension.
std::string ProgramNameOf(Machine& machine, const std::string& modulePath);
// The extension of a path from its last dot, or the empty end of the path.
const char* FindExtension(const char* path);
// True for an existing file that is not a directory.
bool FileExists(Machine& machine, const std::string& path);
