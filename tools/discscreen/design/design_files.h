#pragma once
// The designer's access to the disc folder: a path the page names is taken
// only when it stays inside the folder, links resolved; and the script is
// replaced whole, under a temporary name first.
#include <string>
#include <vector>

// The file's path on this machine, or empty when `relative` leaves the
// folder (an absolute path, "..", a link that points out) or is no file.
std::string FileInsideFolder(const std::string& folderRealPath, const std::string& relative);
// Every file below the folder, "/" between names, without following links.
std::vector<std::string> FilesOfFolder(const std::string& folderRealPath);

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Writes a sibling under a temporary name, with the file's permissions, and
// renames it over the file; false with why.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string* why);
