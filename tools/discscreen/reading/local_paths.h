#pragma once
// Paths on this machine, as the commands take them from their operands.
#include <string>

bool IsDirectory(const std::string& path);
// The last name of a path with '/'.
std::string BaseName(const std::string& path);
// All but the last name ("." for a bare name, "/" at the root).
std::string DirectoryName(const std::string& path);
