#pragma once
// Names on a disc folder that a disc image cannot hold as they are: Joliet
// (what Windows reads) holds 64 UCS-2 characters a name, 240 characters a path,
// no * / : ; ? \ and no control characters, and cannot keep two names that
// differ only in letter case apart for Windows; ISO 9660 level 2 (what
// systems without Joliet read) holds names of 31 characters of A-Z, 0-9 and
// _ (a file's with one dot), at most eight folders deep.
#include <string>
#include <vector>

// One line for each problem: "PATH: what becomes of it", PATH from the
// folder's root.
std::vector<std::string> ImageNameProblems(const std::string& folder);
